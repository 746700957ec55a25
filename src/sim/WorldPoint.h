#pragma once
// A point in world units: three doubles, +y up, one cell is 4 units.

namespace qw {

struct TWorldPoint {
    double x = 0, y = 0, z = 0;
    bool operator==(const TWorldPoint&) const = default;
};

}  // namespace qw
