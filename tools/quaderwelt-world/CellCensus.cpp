#include "CellCensus.h"

#include <algorithm>
#include <array>

namespace qw::tool {

void CountCellCodes(TLevel& level, const std::function<void(int32_t code, uint64_t count)>& report) {
    constexpr int32_t kCommonCodes = 1024;
    std::array<uint64_t, kCommonCodes> common{};
    int32_t* cells = level.data();
    int32_t* end = cells + kGridCells;
    bool unusual = false;
    for (const int32_t* c = cells; c != end; ++c) {
        if (*c >= 0 && *c < kCommonCodes)
            ++common[static_cast<std::size_t>(*c)];
        else
            unusual = true;
    }
    if (!unusual) {
        for (int32_t code = 0; code < kCommonCodes; ++code)
            if (const uint64_t count = common[static_cast<std::size_t>(code)]; count != 0) report(code, count);
        return;
    }
    std::sort(cells, end);
    for (const int32_t* run = cells; run != end;) {
        const int32_t* next = std::upper_bound(run, static_cast<const int32_t*>(end), *run);
        report(*run, static_cast<uint64_t>(next - run));
        run = next;
    }
}

}  // namespace qw::tool
