#pragma once
// What a missile does when it strikes: the emerald distance it reports, the
// ball of fire it lays, and the life the fire takes when it goes out.
#include "sim/BlockEditing.h"
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

inline constexpr int32_t kFireFrames = 10;

// Distance in cells from cell (a, b, c) to the emerald's cell or to its
// nearest copy across the x and z wrap (the world does not wrap in y for
// this clue).
double EmeraldDistance(const TGameState& state, int a, int b, int c);

// The missile of `figure` explodes at `cell` (already wrapped): records the
// emerald distance, plays the bang and turns the 33 cells within two cells
// of it into the figure's fire, all but the emerald.
void Explode(TGameState& state, GameServices& services, int figure, const TCellIndex& cell);

// Once per view pass while the figure's missile burns. When the countdown
// has run out the fire goes with every block it replaced, the figure whose
// last body test touched it loses a life (player 1 when both did) and the
// missile is free again.
void FireCountdown(TGameState& state, GameServices& services, int figure);

}  // namespace qw
