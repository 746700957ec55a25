#pragma once
// The world generator written as plainly as possible, straight on the grid.
// Slow; the game's generator must produce exactly the same grid from the same
// draws. Used by the tests as the oracle and by the benchmark as the baseline.
#include "world/Grid.h"
#include "world/Random.h"

namespace qw::test {

void GenerateWorldReference(TLevel& level, RandomSource& rng);

}  // namespace qw::test
