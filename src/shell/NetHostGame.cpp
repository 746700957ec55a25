#include "shell/NetHostGame.h"

#include "net/HostServices.h"
#include "shell/GameFrame.h"
#include "shell/NetworkClock.h"
#include "shell/NetworkNotice.h"

namespace qw {

TNetHostGame::TNetHostGame(std::unique_ptr<net::THostSession> session,
                           std::function<void(net::TGuestEventKind)> menuClick)
    : session_(std::move(session)), menuClick_(std::move(menuClick)) {}

net::TEndCause TNetHostGame::EndCause() const {
    // A message refused here comes with what was wrong with it.
    const bool refusedHere = session_->endReason() == net::TEndReason::Malformed && !session_->endDetail().empty();
    return {session_->endReason(), refusedHere, false, false};
}

bool TNetHostGame::Tick(const TNetFrameEnv& env) {
    using Phase = net::THostSession::TPhase;
    networkMs_ = 0;
    AddTimeOf(networkMs_, [&] { session_->Poll(NetworkClockMs()); });
    if (session_->phase() == Phase::Ended) return false;
    if (!session_->GuestReady()) {
        // A round's world is on its way; keep the link busy for most of the
        // tick so that it arrives in a fraction of a second.
        PumpWhile([&](uint32_t waitMs) { session_->Poll(NetworkClockMs(), waitMs); }, [&] { return !session_->GuestReady() && session_->phase() != Phase::Ended; });
        DrawNetworkNotice(env.state, "Warte auf den Mitspieler …", env.width, env.height);
        return session_->phase() != Phase::Ended;
    }

    net::THostFrameInput input =
        AddTimeOf(networkMs_, [&] { return session_->TakeFrameInput(env.state, NetworkClockMs()); });
    if (session_->phase() == Phase::Ended) return false;
    for (net::TGuestEventKind click : input.menuClicks) {
        menuClick_(click);
        // The guest closed the menu; the host player's pointer is where the
        // menu left it (after a round end, a quarter down the window), so
        // the next look that centres it (one without the focus does not)
        // turns nothing.
        if (!env.state.quitmode) centreOnly_ = true;
        if (!session_->GuestReady()) return true;  // the click started a new round
    }
    if (centreOnly_) env.state.first = false;

    const bool roundWasOver = env.state.emeraldfound;
    net::THostServices services(env.services, *session_);
    TFrameHooks hooks;
    hooks.cells = env.cells;
    hooks.takeScreenshot = env.takeScreenshot;
    hooks.remote = &input.controls;
    try {
        GameFrame(env.state, services, env.width, env.height, hooks);
    } catch (...) {
        // A failed screenshot ends the frame; what it changed still goes out.
        session_->SendFrame(env.state);
        throw;
    }
    if (centreOnly_ && !env.state.quitmode && env.services.WindowHasFocus()) centreOnly_ = false;
    if (!roundWasOver && env.state.emeraldfound) session_->QueueRoundEnded();
    AddTimeOf(networkMs_, [&] { session_->SendFrame(env.state); });
    return true;
}

}  // namespace qw
