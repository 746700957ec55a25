#pragma once
// The steps that decide a round: record the finder, freeze the game, free the
// cursor for the round-end menu and play the win sound.
#include <cstdint>

#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

inline constexpr int32_t kFinderFirstFigure = 0;
inline constexpr int32_t kFinderSecondFigure = 1;

// finder: 0 the first figure, 1 the second. Safe to run several times in
// one frame; each run does the same.
void EndRound(TGameState& state, GameServices& services, int32_t finder);

// Only the search mode has an emerald to find.
inline bool EmeraldEndsRound(const TGameState& state) {
    return !state.modusformKreativCheckchecked && !state.modusformFightCheckchecked;
}

}  // namespace qw
