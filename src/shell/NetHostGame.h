#pragma once
// The host's side of a running network game, as the game window drives it:
// each tick takes the guest's input, runs the two-player frame with the
// guest's controls for the second figure and sends back what the guest
// draws. While the guest is still receiving a round's world the game waits.
#include <functional>
#include <memory>

#include "net/EndTexts.h"
#include "net/HostSession.h"
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

struct TNetFrameEnv {
    TGameState& state;
    GameServices& services;
    int width, height;  // the picture in device pixels
    std::function<void(int view)> cells;
    std::function<void()> takeScreenshot;
};

class TNetHostGame {
public:
    // menuClick: a click of the guest's player on a menu button
    // (MenuThird or MenuRight), to be acted on like the host's own.
    TNetHostGame(std::unique_ptr<net::THostSession> session, std::function<void(net::TGuestEventKind)> menuClick);

    // One tick of the game window; false once the game has ended.
    bool Tick(const TNetFrameEnv& env);
    // After each round set-up: the guest gets the new world.
    void RoundStarted(TGameState& state) { session_->StartRound(state); }
    // Ends the game, telling the guest why.
    void End(net::TEndReason reason, uint32_t waitMs = 0) { session_->End(reason, waitMs); }
    net::TEndCause EndCause() const;
    const std::vector<uint8_t>& guestSkin() const { return session_->guestSkin(); }
    // The milliseconds the last tick spent in the session (without the pump
    // of a tick that waits for the guest).
    double networkMsOfLastTick() const { return networkMs_; }

private:
    std::unique_ptr<net::THostSession> session_;
    std::function<void(net::TGuestEventKind)> menuClick_;
    bool centreOnly_ = false;  // the next look only centres the pointer
    double networkMs_ = 0;
};

}  // namespace qw
