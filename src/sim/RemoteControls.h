#pragma once
// The second figure's controls when its player sits at another computer.
// That player uses the first player's controls (W A S D, Ctrl, Space, the
// digits, the wheel, mouse look and both buttons); what they gave since the
// last frame arrives here, and the first player's rules apply it to the
// second figure in place of player 2's keys and joystick.
#include <cstdint>
#include <vector>

#include "sim/BlockEditing.h"
#include "sim/Movement.h"
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

// A dig, fire or place press with the aim ray the remote picture gave.
struct TRemoteEdit {
    bool place = false;  // else remove (or fire with the weapon)
    TAimRay ray;
};

struct TRemoteInput {
    bool forward = false, backward = false, strafeLeft = false, strafeRight = false;
    bool fast = false;
    bool jump = false;
    uint16_t digitsHeld = 0;  // bit d - 1 for digit key d, 1 ... 9
    int wheelSteps = 0;       // notches: + toward the user (next item), - away
    double heading = 0, pitch = 0;
    bool placeHeld = false, removeHeld = false;
    int escapePresses = 0;
    std::vector<TRemoteEdit> edits;  // in the order they were made
};

// The remote player's items, look and walking for this frame, in the order
// of the first player's update: look, digits, wheel, then W, S, A, D.
void ApplyRemoteControls(TGameState& state, GameServices& services, const TFigure& figure,
                         const TRemoteInput& input);

// The remote player's presses in its view's editing step: each places,
// digs or fires with its own ray, as the first player's buttons do.
void ApplyRemoteEdits(TGameState& state, GameServices& services, const TRemoteInput& input,
                      const EditHooks& hooks);

}  // namespace qw
