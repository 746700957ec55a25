#include "world/Grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qw {

TLevel::TLevel() : cells_(new int32_t[kGridCells]()) {}

void TLevel::clear() { std::memset(cells_.get(), 0, kGridBytes); }

void TLevel::replaceAll(int32_t from, int32_t to) {
    // Looks at blocks of cells with a loop the compiler can vectorise and
    // writes only into blocks that have a match: this runs within a frame.
    constexpr std::size_t kBlock = 64;
    int32_t* cells = cells_.get();
    for (std::size_t start = 0; start < kGridCells; start += kBlock) {
        const std::size_t end = std::min(kGridCells, start + kBlock);
        bool found = false;
        for (std::size_t i = start; i < end; ++i) found |= cells[i] == from;
        if (!found) continue;
        for (std::size_t i = start; i < end; ++i)
            if (cells[i] == from) Write(i, to);
    }
}

double WrapPosition(double c) {
    if (!std::isfinite(c)) return c;
    // Bring a huge value within a few periods without changing where it lands:
    // subtracting whole periods is what the loops below would do anyway.
    if (std::fabs(c) > 4 * kWorldPeriod) {
        double r = std::fmod(c, kWorldPeriod);
        c = r + (c < 0 ? -kWorldPeriod : kWorldPeriod);
    }
    while (c < -400.0) c += kWorldPeriod;
    while (c > 400.0) c -= kWorldPeriod;
    return c;
}

namespace {
// Saturate instead of invoking undefined behaviour on out-of-range casts.
int64_t ClampToInt64(double v) {
    if (std::isnan(v)) return 0;
    constexpr double kMax = 9.2e18;
    if (v >= kMax) return static_cast<int64_t>(kMax);
    if (v <= -kMax) return -static_cast<int64_t>(kMax);
    return static_cast<int64_t>(v);
}
}  // namespace

int64_t RoundHalfEven(double v) { return ClampToInt64(std::nearbyint(v)); }

int64_t TruncTowardZero(double v) { return ClampToInt64(std::trunc(v)); }

}  // namespace qw
