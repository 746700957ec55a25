#pragma once
// How many cells hold each code.
#include <cstdint>
#include <functional>

#include "world/Grid.h"

namespace qw::tool {

// Calls report(code, count) for every code present, ascending by code. A file
// may hold a different 32-bit code in every cell; rather than a second grid's
// worth of counters, such a grid is sorted in place, so `level` is scrambled
// afterwards whenever it holds codes outside 0 ... 1023.
void CountCellCodes(TLevel& level, const std::function<void(int32_t code, uint64_t count)>& report);

}  // namespace qw::tool
