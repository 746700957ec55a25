#pragma once
// The update phase of a frame: everything that changes the game before the
// views are drawn, in a fixed order.
#include <functional>

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
};

void UpdatePhase(TGameState& state, GameServices& services, const UpdateHooks& hooks);

}  // namespace qw
