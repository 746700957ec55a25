#pragma once
// A network game's two game windows without windows, in one process: the
// host's and the guest's record, each with its own FakeServices, world
// drawing and small off-screen context, drawn by the ticks the game window
// runs (TNetHostGame, TNetGuestGame); with a context each, each side may
// also tick on a thread of its own, as on two computers. The window's menu
// presses, wheel notches and round set-up are made as the window makes
// them. A scripted pair of players drives both sides frame by frame.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "net/GuestSession.h"
#include "net/HostSession.h"
#include "render/FastWorld.h"
#include "shell/NetGuestGame.h"
#include "shell/NetHostGame.h"
#include "shell/Overlay.h"
#include "support/FakeServices.h"
#include "support/OsMesaContext.h"
#include "world/GameState.h"

namespace qw::test {

struct TNetPlayMode {
    const char* name;
    bool creative = false, fight = false;
};

inline constexpr int kNetPlayWidth = 64;
inline constexpr int kNetPlayHeight = 48;

struct TNetSide {
    OsMesaContext context{kNetPlayWidth, kNetPlayHeight};
    std::unique_ptr<TGameState> state = std::make_unique<TGameState>();
    FakeServices services;
    TFastWorld world;
};

class TNetPlayGames {
public:
    static constexpr int kWidth = kNetPlayWidth;
    static constexpr int kHeight = kNetPlayHeight;

    TNetPlayGames(const TNetPlayMode& mode, uint64_t seed);
    ~TNetPlayGames();
    // Empty when the context, the data files and the host's port are fine.
    const std::string& problems() const { return problems_; }
    uint16_t hostPort() const { return hostSession_->port(); }

    // The guest joins through `port` of 127.0.0.1 (the host's own, or a
    // relay's in front of it) and the host starts the first round, as the
    // game windows do once both are there. False when the join took over 10 s.
    bool Join(uint16_t port);
    // One timer tick of each window, the host's first; false once either
    // game has ended.
    bool Tick();
    // One window's tick alone, on any thread (one thread per side).
    bool TickHost();
    bool TickGuest();

    // What the windows do between ticks: a press at the middle of a menu
    // area, a wheel notch.
    void HostMenuPress(TMenuArea area);
    void HostWheel(bool towardUser);
    void GuestMenuPress(TMenuArea area);
    void GuestWheel(bool towardUser);

    TNetSide& host() { return host_; }
    TNetSide& guest() { return guest_; }
    TNetHostGame& hostGame() { return *hostGame_; }
    TNetGuestGame& guestGame() { return *guestGame_; }
    net::THostSession& hostSession() { return *hostSession_; }
    net::TGuestSession& guestSession() { return *guestSession_; }
    int roundsFromGuest() const { return roundsFromGuest_; }
    int roundsFromHost() const { return roundsFromHost_; }
    int rounds() const { return rounds_; }
    // What each player built: the cells of the host's grid that hold one of
    // the host's or of the guest's kinds (see the script) and did not at the
    // start of their round (digging and fire only ever empty a cell). Looked
    // at every 50 ticks, as missiles and digging take blocks away again;
    // the most of each round, summed over the rounds.
    int64_t hostBlocksBuilt() const;
    int64_t guestBlocksBuilt() const;
    // Event sounds (not the music) each side has played.
    int hostSounds() const { return hostSounds_; }
    int guestSounds() const { return guestSounds_; }

    // The game window's round set-up on the host, after which the world goes
    // to the guest; when it went, and the bytes both sessions had sent then.
    void StartRound();
    std::chrono::steady_clock::time_point worldSentAt() const { return worldSentAt_; }
    uint64_t bytesAtWorldSent() const { return bytesAtWorldSent_; }

private:
    bool TickSide(TNetSide& side, const std::function<bool(const TNetFrameEnv&)>& tick, int& sounds);

    std::string problems_;
    TNetSide host_, guest_;
    net::THostSession* hostSession_ = nullptr;    // owned by hostGame_
    net::TGuestSession* guestSession_ = nullptr;  // owned by guestGame_
    std::unique_ptr<TNetHostGame> hostGame_;
    std::unique_ptr<TNetGuestGame> guestGame_;
    bool pressFromGuest_ = false;
    int rounds_ = 0, roundsFromGuest_ = 0, roundsFromHost_ = 0;
    void LookAtBlocks();
    int64_t pastHostBlocks_ = 0, pastGuestBlocks_ = 0;
    int64_t roundHostBlocks_ = 0, roundGuestBlocks_ = 0;
    int ticks_ = 0;
    std::vector<int32_t> roundStart_;  // the present round's cells as set up
    int hostSounds_ = 0, guestSounds_ = 0;
    std::chrono::steady_clock::time_point worldSentAt_;
    uint64_t bytesAtWorldSent_ = 0;
};

// The block codes each player of the script builds with.
inline constexpr int32_t kHostBlocks[] = {kMetal, kBrick};
inline constexpr int32_t kGuestBlocks[] = {kCobblestone, kWood};

// Both players of a network game, scripted from a seed: they walk, run,
// turn with the mouse, jump, choose materials with the digits and the wheel,
// dig, build and fire; now and then one opens the menu and one of them
// closes it, and twice a new round is asked for, once from each side. A
// round that ends is started again from its menu.
class TNetPlayScript {
public:
    TNetPlayScript(TNetPlayGames& games, uint64_t seed);
    ~TNetPlayScript();
    // The inputs of both windows for the coming tick.
    void BeforeTick();
    // Keys up and the mouse still from now on.
    void Quiet();

    struct TPlayer;

private:
    struct TMenuTask {
        int start;
        bool openerIsGuest;
        bool actorIsGuest;
        enum { CloseWithEsc, CloseWithPress, NewRound } action;
    };
    void Menus(int frame);
    void RoundOver(int frame);

    TNetPlayGames& games_;
    std::unique_ptr<TPlayer> host_, guest_;
    int frame_ = 0;
    size_t nextTask_ = 0;
    int taskStage_ = 0, taskSince_ = 0;
    int roundOverSince_ = -1;
    bool guestEndsNextRound_ = true;
    bool quiet_ = false;
};

}  // namespace qw::test
