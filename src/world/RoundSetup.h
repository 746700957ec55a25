#pragma once
// Setting up a round: the reset of the figures, a new or emptied world, the
// name of a new world file and the hidden emerald. The game window's
// MakeNewGame runs one of the two SetUpRound... calls: NewGame, then the
// stored world or a new one, then FinishRoundSetup.
#include <string>

#include "world/GameState.h"
#include "world/Random.h"

namespace qw {

inline constexpr int kNoEmeraldY = -101;  // emeraldy when the emerald's column was empty

// Empties the grid and resets figures, lives, materials and missiles; with
// `createlev` a new world is generated into the emptied grid.
void NewGame(TGameState& state, bool createlev, RandomSource& rng);

// Search mode only: turns the top non-empty cell of a random column at least
// 16 cells from the planes x = 0 and z = 0 into the emerald.
void versteckeemerald(TGameState& state, RandomSource& rng);

// The file for a new world called `name`: dataFolder + name + ".lev", or with
// 2, 3, ... before ".lev" while something exists at that path. `dataFolder`
// ends with "/"; every "/" in `name` becomes "_" so the file stays in it.
std::string NewWorldLevelName(const std::string& dataFolder, const std::string& name);

// What follows the world: the emerald outside creative mode, empty hands in
// creative mode, the opponent's search state from the start.
void FinishRoundSetup(TGameState& state, RandomSource& rng);

// A round on the stored world at `path`: NewGame, LoadWorld, the rest. A
// damaged file is played as an empty grid: the set-up runs to its end as for
// a file that could not be opened, then the loader's error is passed on for
// the error box.
void SetUpRoundOnFile(TGameState& state, const std::string& path, RandomSource& rng);

// A round on a newly generated world that will be saved as `levelname`.
void SetUpRoundOnNewWorld(TGameState& state, const std::string& levelname, RandomSource& rng);

}  // namespace qw
