#pragma once
// The mouse wheel steps through the first figure's materials.
#include "world/GameState.h"

namespace qw {

// 8 is the weapon, which creative mode does not offer.
inline int32_t HighestMaterial(bool kreativ) { return kreativ ? 7 : 8; }

// Wheel turned down: next material, wrapping to 0. Ignored while the menu is open.
void MaterialWheelDown(TGameState& state);
// Wheel turned up: previous material, wrapping to the highest. Ignored while the menu is open.
void MaterialWheelUp(TGameState& state);

}  // namespace qw
