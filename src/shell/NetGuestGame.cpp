#include "shell/NetGuestGame.h"

#include "shell/GameFrame.h"
#include "shell/NetworkClock.h"
#include "shell/NetworkNotice.h"

namespace qw {

namespace {

using net::TGuestEventKind;

// The first player's keys and buttons, as the host's rules read them.
uint32_t HeldKeys(GameServices& services) {
    struct TKeyBit {
        int key;
        uint32_t bit;
    };
    static constexpr TKeyBit kKeys[] = {
        {'W', net::kKeyForward},     {'S', net::kKeyBackward}, {'A', net::kKeyLeft},
        {'D', net::kKeyRight},       {VK_CONTROL, net::kKeyFast}, {VK_SPACE, net::kKeyJump},
        {VK_LBUTTON, net::kKeyRemove}, {VK_RBUTTON, net::kKeyPlace},
    };
    uint32_t held = 0;
    for (const TKeyBit& k : kKeys)
        if (services.KeyHeld(static_cast<VirtualKey>(k.key))) held |= k.bit;
    for (int digit = 1; digit <= 9; ++digit)
        if (services.KeyHeld(static_cast<VirtualKey>('0' + digit))) held |= net::kKeyDigit1 << (digit - 1);
    return held;
}

}  // namespace

TNetGuestGame::TNetGuestGame(std::unique_ptr<net::TGuestSession> session) : session_(std::move(session)) {}

net::TEndCause TNetGuestGame::EndCause() const {
    const bool refusedHere = session_->endReason() == net::TEndReason::Malformed && !session_->endDetail().empty();
    return {session_->endReason(), refusedHere, false, session_->Unreachable()};
}

bool TNetGuestGame::Tick(const TNetFrameEnv& env) {
    using Phase = net::TGuestSession::TPhase;
    TGameState& s = env.state;
    networkMs_ = 0;
    AddTimeOf(networkMs_, [&] { session_->Poll(NetworkClockMs(), s); });
    if (session_->phase() == Phase::Ended) return false;
    for (const std::string& alias : session_->TakeSounds()) env.services.SoundCommand("play " + alias + " from 0");
    if (session_->TakeRoundEnded()) {
        // Where the host's round-end steps put the host's cursor, on this window.
        const TWindowGeometry g = env.services.WindowGeometry();
        env.services.SetCursorPos(g.left + g.width / 2, g.top + g.height / 4);
    }
    if (session_->Receiving()) {
        PumpWhile([&](uint32_t waitMs) { session_->Poll(NetworkClockMs(), s, waitMs); },
                  [&] { return session_->Receiving() && session_->phase() != Phase::Ended; });
        DrawNetworkNotice(s, TransferNotice(session_->ReceivedShare()), env.width, env.height);
        return session_->phase() != Phase::Ended;
    }
    session_->TakeNewRound();
    // The host closed the menu (or began a round) with a click of its own:
    // this player's pointer is where the menu left it, so the next look that
    // centres it (one without the focus does not) turns nothing.
    if (menuShown_ && !s.quitmode && !menuClicked_) centreOnly_ = true;
    menuShown_ = s.quitmode;
    if (!menuShown_) menuClicked_ = false;
    if (centreOnly_) s.first = false;

    TGuestFrameHooks hooks;
    hooks.cells = env.cells;
    hooks.takeScreenshot = env.takeScreenshot;
    hooks.escapePressed = [&] { session_->QueueEvent(TGuestEventKind::Escape); };
    hooks.editPressed = [&](bool place, const TAimRay& ray) {
        session_->QueueEvent(place ? TGuestEventKind::Place : TGuestEventKind::Remove, ray);
    };
    GuestFrame(s, env.services, env.width, env.height, hooks);
    if (centreOnly_ && !s.quitmode && env.services.WindowHasFocus()) centreOnly_ = false;
    // The cursor is visible exactly while the host's game shows the menu.
    if (cursorShown_ != s.quitmode) env.services.ShowCursor(s.quitmode);
    cursorShown_ = s.quitmode;
    const uint32_t held = HeldKeys(env.services);
    AddTimeOf(networkMs_, [&] { session_->SendInput(held, s.angle, s.angle2); });
    return true;
}

void TNetGuestGame::MenuClick(const TGameState& s, TMenuArea area) {
    if (!s.quitmode) return;
    if (area == TMenuArea::Third && !s.emeraldfound) {
        session_->QueueEvent(TGuestEventKind::MenuThird);
        menuClicked_ = true;
    }
    if (area == TMenuArea::Right) {
        session_->QueueEvent(TGuestEventKind::MenuRight);
        menuClicked_ = true;
    }
}

void TNetGuestGame::Wheel(const TGameState& s, bool towardUser) {
    if (s.quitmode) return;
    session_->QueueEvent(towardUser ? TGuestEventKind::WheelDown : TGuestEventKind::WheelUp);
}

}  // namespace qw
