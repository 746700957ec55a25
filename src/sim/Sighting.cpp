#include "sim/Sighting.h"

#include <cmath>

#include "sim/RoundOutcome.h"
#include "sim/WorldPoint.h"

namespace qw {

namespace {

constexpr double kEyeHeight = 9;  // units above the feet
constexpr double kSightRange = 60;

bool BlocksSight(const TLevel& level, const TWorldPoint& p) {
    const int64_t x = TruncTowardZero(p.x / 4.0);
    const int64_t y = TruncTowardZero(p.y / 4.0);
    const int64_t z = TruncTowardZero(p.z / 4.0);
    if (!InGrid(x) || !InGrid(y) || !InGrid(z)) return false;
    const int32_t code = level.at(static_cast<int>(x), static_cast<int>(y), static_cast<int>(z));
    return code != kEmpty && code != kEmerald;
}

// Samples one unit apart from the eye, the last one within a unit of the
// target. When eye and target meet, the one sample is the eye.
bool LineIsFree(const TLevel& level, const TWorldPoint& eye, const TWorldPoint& target, double distance) {
    const int64_t samples = TruncTowardZero(distance);
    for (int64_t step = 0; step <= samples; ++step) {
        const double s = static_cast<double>(step);
        const TWorldPoint p = distance > 0 ? TWorldPoint{eye.x + (target.x - eye.x) * s / distance,
                                                         eye.y + (target.y - eye.y) * s / distance,
                                                         eye.z + (target.z - eye.z) * s / distance}
                                           : eye;
        if (BlocksSight(level, p)) return false;
    }
    return true;
}

}  // namespace

void OpponentSighting(TGameState& s, GameServices& services) {
    if (s.multiplayer || s.modusformKreativCheckchecked || s.modusformFightCheckchecked) return;
    // Without an emerald (emeraldy -101) there is nothing to see.
    if (!InGrid(s.emeraldx) || !InGrid(s.emeraldy) || !InGrid(s.emeraldz)) {
        s.gegnersiehtemerald = false;
        return;
    }
    const TWorldPoint eye{-s.gposx, kEyeHeight - s.gposy, -s.gposz};
    const TWorldPoint target{4.0 * s.emeraldx + 2, 4.0 * s.emeraldy + 4, 4.0 * s.emeraldz + 2};
    const double dx = target.x - eye.x, dy = target.y - eye.y, dz = target.z - eye.z;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!std::isfinite(distance)) {
        s.gegnersiehtemerald = false;  // a position that is no position sees nothing
        return;
    }
    s.gegnersiehtemerald = LineIsFree(s.level, eye, target, distance);
    if (s.gegnersiehtemerald && distance < kSightRange && !s.emeraldfound) {
        EndRound(s, services, kFinderSecondFigure);
        s.level.set(s.emeraldx, s.emeraldy, s.emeraldz, kEmpty);
    }
}

}  // namespace qw
