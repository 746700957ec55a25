#pragma once
// The search opponent's eyes: it wins when it has a free line of sight to
// the emerald from close by.
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

// Once per view of a single-player search (does nothing in other games):
// sets gegnersiehtemerald when no block lies on the line from the
// opponent's eye to the top of the emerald, and below 60 units ends the
// round for the opponent and takes the emerald away. Cells outside the grid
// never block (the line does not wrap); a world without an emerald shows
// nothing.
void OpponentSighting(TGameState& state, GameServices& services);

}  // namespace qw
