#pragma once
// Where the game window finds the world files; records in the game state
// whether the per-user application-data folder was located.
#include <string>

#include "world/GameState.h"

namespace qw {

// The data folder, ending in "/": the application-data folder plus
// "Korland/Quaderwelt 1/", or the program folder when that cannot be located.
// With create every missing folder of the path is made first.
std::string LocateDataFolder(TGameState& state, bool create);

}  // namespace qw
