#pragma once
// The guest's side of a running network game, as the game window drives it:
// each tick brings the host's news into the replica, draws the guest's own
// view and sends its player's input. Nothing is simulated here.
#include <memory>
#include <optional>

#include "net/EndTexts.h"
#include "net/GuestSession.h"
#include "shell/NetHostGame.h"
#include "shell/Overlay.h"

namespace qw {

class TNetGuestGame {
public:
    explicit TNetGuestGame(std::unique_ptr<net::TGuestSession> session);

    // One tick of the game window; false once the game has ended.
    bool Tick(const TNetFrameEnv& env);
    // A press on the menu while the replica shows it. The left button
    // ("Beenden") is the caller's: it ends this program.
    void MenuClick(const TGameState& state, TMenuArea area);
    // A wheel notch toward the user (next item) or away.
    void Wheel(const TGameState& state, bool towardUser);
    void End(net::TEndReason reason, uint32_t waitMs = 0) { session_->End(reason, waitMs); }
    net::TEndCause EndCause() const;
    const std::vector<uint8_t>& hostSkin() const { return session_->welcome().skin; }
    // The milliseconds the last tick spent in the session (without the pump
    // of a tick that receives a world).
    double networkMsOfLastTick() const { return networkMs_; }

private:
    std::unique_ptr<net::TGuestSession> session_;
    std::optional<bool> cursorShown_;
    bool menuShown_ = false;
    bool menuClicked_ = false;  // this player closed the menu that is shown
    bool centreOnly_ = false;   // the next look only centres the pointer
    double networkMs_ = 0;
};

}  // namespace qw
