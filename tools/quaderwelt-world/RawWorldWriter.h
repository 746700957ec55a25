#pragma once
// The raw variant of a world file, which the game reads but never writes.
#include <string>

#include "world/GameState.h"

namespace qw::tool {

// Grid bytes then figure block, 32,482,484 bytes, replacing path atomically.
// Throws std::runtime_error, without touching path, when it fails or when the
// world's first cell equals the compressed file's magic.
void SaveRawWorld(const TGameState& state, const std::string& path);

}  // namespace qw::tool
