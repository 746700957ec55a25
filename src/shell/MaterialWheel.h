#pragma once
// The mouse wheel steps through the first figure's materials.
#include "world/GameState.h"

namespace qw {

// Wheel turned down: next material, wrapping to 0. Ignored while the menu is open.
void MaterialWheelDown(TGameState& state);
// Wheel turned up: previous material, wrapping to the highest. Ignored while the menu is open.
void MaterialWheelUp(TGameState& state);

}  // namespace qw
