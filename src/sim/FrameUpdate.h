#pragma once
// The update phase of a frame: everything that changes the game before the
// views are drawn, in a fixed order.
#include <functional>

#include "sim/RemoteControls.h"
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

// What other parts of the game supply to the update phase.
struct UpdateHooks {
    // One frame of the computer opponent; runs in single-player games outside
    // the creative mode, before the opponent's knock-back and fall.
    std::function<void(TGameState&, GameServices&)> opponentController;
    // Writes a screenshot of the window; throws when it cannot be written,
    // which ends the frame there.
    std::function<void()> takeScreenshot;
    // In a network game the second figure's player sits at another computer:
    // its controls for this frame, in place of player 2's keys and joystick.
    const TRemoteInput* remote = nullptr;
};

void UpdatePhase(TGameState& state, GameServices& services, const UpdateHooks& hooks);

// The update on a computer that shows a game simulated elsewhere (the guest
// of a network game), on its replica of the record: its own music, camera,
// screenshot and mouse look; nothing is simulated. Returns whether Esc was
// pressed, which the simulating computer acts on.
bool ViewerUpdatePhase(TGameState& state, GameServices& services, const UpdateHooks& hooks);

}  // namespace qw
