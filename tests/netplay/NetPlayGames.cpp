#include "NetPlayGames.h"

#include <GL/gl.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "LongPlayGame.h"
#include "net/HostServices.h"
#include "render/GLState.h"
#include "shell/MaterialWheel.h"
#include "shell/NetworkClock.h"
#include "world/RoundSetup.h"

namespace qw::test {

namespace {

constexpr int64_t kJoinTimeoutMs = 10000;

// An event sound among the commands a frame gave (the music is each side's own).
int EventSounds(FakeServices& services) {
    int played = 0;
    for (const std::string& command : services.soundCommands) {
        const std::string alias = net::PlayedAlias(command);
        played += !alias.empty() && alias != "musik";
    }
    services.soundCommands.clear();
    services.cursorMoves.clear();
    return played;
}

// Cells that hold one of the codes now and held something else before.
int64_t NewBlocks(const TLevel& level, const std::vector<int32_t>& before, std::span<const int32_t> codes) {
    int64_t count = 0;
    const int32_t* cells = level.data();
    for (size_t i = 0; i < before.size(); ++i)
        count += cells[i] != before[i] && std::find(codes.begin(), codes.end(), cells[i]) != codes.end();
    return count;
}

}  // namespace

TNetPlayGames::TNetPlayGames(const TNetPlayMode& mode, uint64_t seed) {
    host_.services.rng = GameRandom(seed);
    guest_.services.rng = GameRandom(seed + 1);
    for (TNetSide* side : {&host_, &guest_}) {
        side->services.geometry = {0, 0, kWidth, kHeight, kWidth, kHeight};
        if (!side->context.ok()) {
            problems_ = "no off-screen context";
            return;
        }
        side->context.MakeCurrent();
        problems_ += LoadGameData(*side->state);
        side->state->setstatus = true;
        side->state->statustime = side->services.TickCount();
    }
    TGameState& h = *host_.state;
    h.modusformKreativCheckchecked = mode.creative;
    h.modusformFightCheckchecked = mode.fight;
    h.multiplayer = true;

    std::string error;
    auto session = net::THostSession::Open({0, mode.creative, mode.fight, {}, 0}, error);
    if (!session) {
        problems_ += error;
        return;
    }
    hostSession_ = session.get();
    hostGame_ = std::make_unique<TNetHostGame>(std::move(session), [this](net::TGuestEventKind kind) {
        pressFromGuest_ = true;
        HostMenuPress(kind == net::TGuestEventKind::MenuThird ? TMenuArea::Third : TMenuArea::Right);
        pressFromGuest_ = false;
    });
}

TNetPlayGames::~TNetPlayGames() {
    guestGame_.reset();
    hostGame_.reset();
    for (TNetSide* side : {&host_, &guest_}) {
        side->context.MakeCurrent();
        if (side->context.ok()) side->world.ReleaseGL();
    }
}

bool TNetPlayGames::Join(uint16_t port) {
    std::string error;
    auto session = net::TGuestSession::Start({"127.0.0.1:" + std::to_string(port), hostSession_->code(), {}},
                                             NetworkClockMs(), error);
    if (!session) {
        problems_ += error;
        return false;
    }
    guestSession_ = session.get();
    guestGame_ = std::make_unique<TNetGuestGame>(std::move(session));
    // The host's waiting dialog and the guest's join wait, polling.
    const int64_t start = NetworkClockMs();
    while (hostSession_->phase() != net::THostSession::TPhase::Joined ||
           guestSession_->phase() != net::TGuestSession::TPhase::Receiving) {
        if (NetworkClockMs() - start > kJoinTimeoutMs) return false;
        hostSession_->Poll(NetworkClockMs(), 1);
        guestSession_->Poll(NetworkClockMs(), *guest_.state, 1);
    }
    // Both game windows open.
    for (TNetSide* side : {&guest_, &host_}) {
        side->context.MakeCurrent();
        InitGLState(*side->state, kWidth, kHeight);
    }
    StartRound();
    return true;
}

void TNetPlayGames::StartRound() {
    TGameState& g = *host_.state;
    pastHostBlocks_ = hostBlocksBuilt();
    pastGuestBlocks_ = guestBlocksBuilt();
    roundHostBlocks_ = roundGuestBlocks_ = 0;
    NewGame(g, true, host_.services);
    FinishRoundSetup(g, host_.services);
    roundStart_.assign(g.level.data(), g.level.data() + kGridCells);
    worldSentAt_ = std::chrono::steady_clock::now();
    bytesAtWorldSent_ = hostSession_->bytesSent() + (guestSession_ ? guestSession_->bytesSent() : 0);
    hostGame_->RoundStarted(g);
    ++rounds_;
}

void TNetPlayGames::LookAtBlocks() {
    roundHostBlocks_ = std::max(roundHostBlocks_, NewBlocks(host_.state->level, roundStart_, kHostBlocks));
    roundGuestBlocks_ = std::max(roundGuestBlocks_, NewBlocks(host_.state->level, roundStart_, kGuestBlocks));
}

int64_t TNetPlayGames::hostBlocksBuilt() const {
    return pastHostBlocks_ + std::max(roundHostBlocks_, NewBlocks(host_.state->level, roundStart_, kHostBlocks));
}

int64_t TNetPlayGames::guestBlocksBuilt() const {
    return pastGuestBlocks_ + std::max(roundGuestBlocks_, NewBlocks(host_.state->level, roundStart_, kGuestBlocks));
}

bool TNetPlayGames::TickSide(TNetSide& side, const std::function<bool(const TNetFrameEnv&)>& tick, int& sounds) {
    side.context.MakeCurrent();
    side.services.ticks += 20;
    const bool goesOn = tick(TNetFrameEnv{*side.state, side.services, kWidth, kHeight,
                                          [&side](int view) { side.world.DrawCells(*side.state, view); }, {}});
    glFinish();
    sounds += EventSounds(side.services);
    return goesOn;
}

bool TNetPlayGames::TickHost() {
    return TickSide(host_, [&](const TNetFrameEnv& env) { return hostGame_->Tick(env); }, hostSounds_);
}

bool TNetPlayGames::TickGuest() {
    return TickSide(guest_, [&](const TNetFrameEnv& env) { return guestGame_->Tick(env); }, guestSounds_);
}

bool TNetPlayGames::Tick() {
    const bool hostGoesOn = TickHost();
    const bool guestGoesOn = TickGuest();
    if (++ticks_ % 50 == 0) LookAtBlocks();
    return hostGoesOn && guestGoesOn;
}

void TNetPlayGames::HostMenuPress(TMenuArea area) {
    TNetSide& side = host_;
    TMenuActions actions;
    actions.terminateApplication = [] {};
    actions.hideCursor = [&] { side.services.ShowCursor(false); };
    actions.saveWorld = [] { return true; };
    actions.makeNewGame = [&] {
        ++(pressFromGuest_ ? roundsFromGuest_ : roundsFromHost_);
        StartRound();
    };
    const int x = area == TMenuArea::Right ? kWidth / 2 + 60 : kWidth / 2 - 60;
    const int y = area == TMenuArea::Third ? kHeight / 2 + 70 : kHeight / 2;
    MenuMouseDown(*side.state, x, y, kWidth, kHeight, actions);
}

void TNetPlayGames::HostWheel(bool towardUser) {
    if (towardUser) {
        MaterialWheelDown(*host_.state);
    } else {
        MaterialWheelUp(*host_.state);
    }
}

void TNetPlayGames::GuestMenuPress(TMenuArea area) { guestGame_->MenuClick(*guest_.state, area); }

void TNetPlayGames::GuestWheel(bool towardUser) { guestGame_->Wheel(*guest_.state, towardUser); }

// ---- the script ----

struct TNetPlayScript::TPlayer {
    TPlayer(TNetSide& s, bool guest, const TGameState& mode, uint64_t seed)
        : side(s), isGuest(guest), fight(mode.modusformFightCheckchecked), rng(seed) {
        // Digits of the player's own block kinds, and the weapon.
        digits = guest ? std::vector<int>{4, 8} : std::vector<int>{2, 3};
        if (!mode.modusformKreativCheckchecked) digits.insert(digits.end(), {9, 9});
    }

    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    void Tap(int key, int frame, int frames) { taps[key] = frame + frames; }

    // The kind in hand is one of this player's own: what it builds counts as its.
    bool HoldsOwnKind() const {
        const int32_t kind = side.state->material;
        return std::any_of(digits.begin(), digits.end(), [&](int d) { return d != 9 && d - 1 == kind; });
    }

    void NewIntent(int frame) {
        moveKeys.clear();
        intentFrom = frame;
        intentUntil = frame + Between(25, 120);
        // Now and then the player stands still and builds with one of its
        // own kinds: the guest's picture shows where its figure stands only
        // once the figure has stood for a moment, and the host places only
        // next to where it has the figure.
        building = Chance(0.3);
        if (building) {
            turn = 0;
            pitchTarget = Between(30, 50);
            Tap('0' + digits[static_cast<size_t>(Between(0, 1))], frame, 2);
            return;
        }
        // Or, in a fight, it fires at the ground at its feet, which costs
        // lives, so that rounds end too.
        if (fight && Chance(0.25)) {
            building = true;
            turn = 0;
            pitchTarget = 80;
            Tap('9', frame, 2);
            return;
        }
        if (Chance(0.75)) {
            moveKeys.insert('W');
        } else if (Chance(0.4)) {
            moveKeys.insert('S');
        }
        if (Chance(0.2)) {
            moveKeys.insert('A');
        } else if (Chance(0.25)) {
            moveKeys.insert('D');
        }
        if (Chance(0.3)) moveKeys.insert(VK_CONTROL);
        turn = Between(-25, 25);
        // Mostly at the ground in front, where blocks are dug and the missiles land.
        static constexpr double kPitches[] = {-15, 5, 20, 35, 50};
        pitchTarget = kPitches[Between(0, 4)];
    }

    void BeforeTick(int frame, TNetPlayGames& games) {
        FakeServices& s = side.services;
        for (auto it = taps.begin(); it != taps.end();) it = frame >= it->second ? taps.erase(it) : std::next(it);
        if (frame >= intentUntil) NewIntent(frame);

        if (!building && Chance(0.03)) Tap(VK_SPACE, frame, 2);
        if (!building && Chance(0.012))
            Tap('0' + digits[static_cast<size_t>(Between(0, static_cast<int>(digits.size()) - 1))], frame, 2);
        // A wheel notch and, a few frames later, one back; nothing is built
        // meanwhile, so the blocks built stay of the player's own kinds.
        if (wheelBackAt < 0 && frame >= buildAgainAt && Chance(0.01)) {
            wheelTowardUser = Chance(0.5);
            isGuest ? games.GuestWheel(wheelTowardUser) : games.HostWheel(wheelTowardUser);
            wheelBackAt = frame + Between(3, 8);
        } else if (wheelBackAt >= 0 && frame >= wheelBackAt) {
            isGuest ? games.GuestWheel(!wheelTowardUser) : games.HostWheel(!wheelTowardUser);
            wheelBackAt = -1;
            buildAgainAt = frame + 40;  // the guest's notches take a while to come back
        }
        if (wheelBackAt < 0 && frame >= buildAgainAt) {
            const bool settled = building && frame - intentFrom >= 40;
            const bool firing = pitchTarget == 80;
            if (building ? settled && firing && Chance(0.1) : Chance(0.05)) Tap(VK_LBUTTON, frame, Between(1, 2));
            if (Chance(settled ? 0.1 : 0.02) && HoldsOwnKind()) Tap(VK_RBUTTON, frame, Between(1, 2));
        }

        s.keysHeld = moveKeys;
        for (const auto& [key, until] : taps) s.keysHeld.insert(key);
        const TWindowGeometry& w = s.geometry;
        const int steer = static_cast<int>((pitchTarget - side.state->angle2) * 10 / 4);
        s.cursor = {w.left + w.width / 2 + turn, w.top + w.height / 2 + std::clamp(steer, -40, 40)};
    }

    void Quiet() {
        FakeServices& s = side.services;
        moveKeys.clear();
        taps.clear();
        s.keysHeld.clear();
        s.cursor = {s.geometry.left + s.geometry.width / 2, s.geometry.top + s.geometry.height / 2};
    }

    TNetSide& side;
    bool isGuest, fight;
    std::mt19937_64 rng;
    std::vector<int> digits;
    std::set<int> moveKeys;
    std::map<int, int> taps;  // key: the frame it comes up
    int intentFrom = 0, intentUntil = 0;
    bool building = false;
    int turn = 0;
    double pitchTarget = 20;
    int wheelBackAt = -1, buildAgainAt = 0;
    bool wheelTowardUser = false;
};

TNetPlayScript::TNetPlayScript(TNetPlayGames& games, uint64_t seed) : games_(games) {
    const TGameState& mode = *games.host().state;
    host_ = std::make_unique<TPlayer>(games.host(), false, mode, seed * 3 + 1);
    guest_ = std::make_unique<TPlayer>(games.guest(), true, mode, seed * 3 + 2);
}

TNetPlayScript::~TNetPlayScript() = default;

void TNetPlayScript::BeforeTick() {
    const int frame = frame_++;
    if (quiet_) return;
    // The menus first: their key taps then go down with this tick's keys.
    RoundOver(frame);
    Menus(frame);
    host_->BeforeTick(frame, games_);
    guest_->BeforeTick(frame, games_);
}

void TNetPlayScript::Quiet() {
    quiet_ = true;
    host_->Quiet();
    guest_->Quiet();
}

void TNetPlayScript::RoundOver(int frame) {
    const TGameState& h = *games_.host().state;
    const TGameState& g = *games_.guest().state;
    if (!(h.emeraldfound && h.quitmode)) {
        // Whoever did not start this round starts the next one that ends.
        if (roundOverSince_ >= 0) guestEndsNextRound_ = !guestEndsNextRound_;
        roundOverSince_ = -1;
        return;
    }
    if (roundOverSince_ < 0) roundOverSince_ = frame;
    const int waited = frame - roundOverSince_;
    // The players read the round-end texts, then one of them starts the
    // next round; the host does when the guest's press does not come.
    if (waited >= 40 && waited % 40 == 0 && guestEndsNextRound_ && g.emeraldfound && g.quitmode) {
        games_.GuestMenuPress(TMenuArea::Right);
    } else if ((waited == 40 && !guestEndsNextRound_) || waited == 400) {
        games_.HostMenuPress(TMenuArea::Right);
    }
}

void TNetPlayScript::Menus(int frame) {
    // Menus opened by one player and closed (or a new round started) by one.
    static constexpr TMenuTask kTasks[] = {
        {250, false, true, TMenuTask::CloseWithEsc},    {600, true, true, TMenuTask::NewRound},
        {1000, true, false, TMenuTask::CloseWithPress}, {1400, false, false, TMenuTask::NewRound},
        {1800, false, true, TMenuTask::CloseWithPress}, {2200, true, false, TMenuTask::CloseWithEsc},
        {2500, true, true, TMenuTask::CloseWithEsc},
    };
    if (nextTask_ >= std::size(kTasks)) return;
    const TMenuTask& task = kTasks[nextTask_];
    const TGameState& h = *games_.host().state;
    TPlayer& opener = task.openerIsGuest ? *guest_ : *host_;
    TPlayer& actor = task.actorIsGuest ? *guest_ : *host_;
    const TGameState& actorView = *actor.side.state;
    const auto next = [&] {
        ++nextTask_;
        taskStage_ = 0;
    };
    switch (taskStage_) {
        case 0: {
            // Not while a round is over, the menu is open or a world is on its way.
            if (frame < task.start || h.quitmode || opener.side.state->quitmode ||
                !games_.hostSession().GuestReady())
                return;
            opener.Tap(VK_ESCAPE, frame, 1);
            taskStage_ = 1;
            taskSince_ = frame;
            return;
        }
        case 1: {
            if (h.emeraldfound || frame - taskSince_ > 300) return next();
            if (!(actorView.quitmode && h.quitmode) || frame - taskSince_ < 20) return;
            if (task.action == TMenuTask::CloseWithEsc) actor.Tap(VK_ESCAPE, frame, 1);
            const TMenuArea area = task.action == TMenuTask::NewRound ? TMenuArea::Third : TMenuArea::Right;
            if (task.action != TMenuTask::CloseWithEsc) {
                task.actorIsGuest ? games_.GuestMenuPress(area) : games_.HostMenuPress(area);
            }
            taskStage_ = 2;
            taskSince_ = frame;
            return;
        }
        case 2:
            if (!h.quitmode || h.emeraldfound) return next();
            // The press was lost on a menu that closed meanwhile: the host closes it.
            if (frame - taskSince_ == 200) host_->Tap(VK_ESCAPE, frame, 1);
            if (frame - taskSince_ > 200) next();
            return;
    }
}

}  // namespace qw::test
