#pragma once
#include <cstdint>

namespace qw {

struct TPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

}  // namespace qw
