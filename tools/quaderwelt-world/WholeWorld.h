#pragma once
// The tool works only on worlds that load whole: anything the game would read
// partly or refuse is reported instead.
#include <string>

#include "world/GameState.h"
#include "world/WorldFile.h"

namespace qw::tool {

// Loads path; throws std::runtime_error with a one-line message when the file
// cannot be opened, is damaged or is not complete. Returns the variant.
WorldVariant LoadWholeWorld(TGameState& state, const std::string& path);

}  // namespace qw::tool
