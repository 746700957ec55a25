#pragma once
// The computer opponent of single-player games: in a fight it keeps its
// distance to player 1 and shoots; in the search it fires probe shots in
// four directions and walks toward the one that came closest to the emerald.
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

// Brings a yaw into (0, 360]: 360 stays, 0 becomes 360.
double NormalizeYaw(double yaw);

// One frame of turning gangle toward zielwinkel by 8, 4 or 1 degrees. It
// compares the plain numbers, so it may go the long way round.
void TurnTowardTarget(TGameState& state);

// Every frame of a fight: face player 1, back off below 28 units, close in
// above 32, and shoot in between; no walking or shooting while thrown back.
void FightController(TGameState& state, GameServices& services);

// One state of the search per frame (gegnermodus 0 to 6).
void SearchController(TGameState& state, GameServices& services);

// The update phase's opponent: the fight in the fight mode, else the search.
void OpponentController(TGameState& state, GameServices& services);

}  // namespace qw
