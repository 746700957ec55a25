#pragma once
// World files (".lev"): the whole grid and the ten figure values, either
// compressed (magic, block length N, zlib stream, figures) or raw (grid
// bytes, figures). Little-endian throughout.
#include <cstdint>
#include <string>

#include "world/AtomicFile.h"
#include "world/GameState.h"
#include "world/WorldOrigin.h"

namespace qw {

inline constexpr uint32_t kWorldMagic = 0x25D2DA49;
inline constexpr int64_t kRawWorldFileBytes = 32482484;  // grid and figure block

enum class WorldVariant { Compressed, Raw };

enum class WorldLoadStatus {
    NotOpened,   // nothing read, levelname unchanged
    Intact,      // every cell and all ten figure values came from the file as stored
    Incomplete,  // read as far as it goes; what is missing or unusable kept its reset value
};

struct WorldLoadReport {
    WorldLoadStatus status = WorldLoadStatus::NotOpened;
    WorldVariant variant = WorldVariant::Raw;
    std::string problem;  // why the world is not intact, one line
};

// Reads the world file at fname over a state that NewGame has just reset
// (empty grid, figures at their start values) and sets levelname := fname once
// the file is open. Only regular files are opened. A short file is used as far
// as it goes, a figure value cut by its end included. A compressed block whose
// length is not positive or whose stream is not valid zlib leaves the grid
// empty and throws std::runtime_error with the inflater's own text (ours for a
// length zlib never sees), which the error box shows as it is. Records in
// state.levelorigin whether the world came from the file intact.
WorldLoadReport LoadWorld(TGameState& state, const std::string& fname);

// Writes the compressed variant to fname atomically. Throws
// std::runtime_error and leaves any old file untouched when it fails. Returns
// the identity of the written file.
FileIdentity SaveWorld(const TGameState& state, const std::string& fname, WriteCall write = {});

}  // namespace qw
