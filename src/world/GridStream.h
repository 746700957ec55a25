#pragma once
// The grid block of a compressed world file as one zlib stream.
#include <cstdint>
#include <span>
#include <vector>

#include "world/AtomicFile.h"
#include "world/Grid.h"

namespace qw {

enum class InflateEnd {
    StreamEnd,  // the stream ended; its bytes fill the grid from the first cell on
    Larger,     // the stream holds more than one grid; the grid holds garbage now
    FileEnded,  // the file ended inside the block; the grid holds what came so far
};

// Inflates the block of blockLength bytes that starts at fd's read position
// straight into the grid, reading only the bytes that are there and never
// producing more than one grid and one byte, so a stream that would inflate
// to gigabytes costs no more than the grid itself. Throws std::runtime_error
// with zlib's text when the stream is not valid.
InflateEnd InflateGridBlock(int fd, int64_t blockLength, TLevel& level);

// The same for a block held in memory (a world that came over the network).
// FileEnded then means the block stopped inside the stream.
InflateEnd InflateGridBytes(std::span<const uint8_t> block, TLevel& level);

// Writes the grid as one zlib stream; returns the number of bytes written.
int64_t DeflateGrid(const TLevel& level, AtomicFile& out);
// The grid as one zlib stream in memory.
std::vector<uint8_t> DeflateGridBytes(const TLevel& level);

}  // namespace qw
