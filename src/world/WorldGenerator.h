#pragma once
// Makes a new world in an emptied grid: solid ground, surface patches, low
// hills and eleven houses.
#include "world/Grid.h"
#include "world/Random.h"

namespace qw {

inline constexpr int kHouseCount = 11;
inline constexpr int kSmoothingTrialsPerBatch = 100001;

// Expects every cell of `level` to be 0. Draws only from `rng`, so the same
// seed gives the same world.
void GenerateWorld(TLevel& level, RandomSource& rng);

}  // namespace qw
