#include "sim/BlockEditing.h"

#include <algorithm>
#include <cmath>

#include "sim/MaterialChoice.h"
#include "sim/Movement.h"
#include "sim/RoundOutcome.h"

namespace qw {

namespace {

constexpr int64_t kReach = 20;  // cells around the view cell that can be edited
constexpr int kProbes = 5;      // probe points 0 ... 4 units along the ray

// The cells along one axis whose closed box [4n, 4n + 4] may contain q:
// floor(q / 4) and, when q lies on their shared face, its lower neighbour.
// The range is one wider on each side; the exact box test decides, so the
// result is that of scanning the whole 41-cell cube in the same order.
bool AxisCandidates(double q, int64_t centre, int64_t& lo, int64_t& hi) {
    if (!std::isfinite(q)) return false;
    const double f = std::floor(q / 4.0);
    if (f < static_cast<double>(centre - kReach - 2) || f > static_cast<double>(centre + kReach + 2)) {
        return false;
    }
    const auto n = static_cast<int64_t>(f);
    lo = std::max(centre - kReach, n - 1);
    hi = std::min(centre + kReach, n + 1);
    return lo <= hi;
}

bool BoxContains(int64_t n, double q) {
    const double lo = 4.0 * static_cast<double>(n);
    return lo <= q && q <= lo + 4.0;
}

struct TScanCentre {
    int64_t x, y, z;
};

TScanCentre ViewCellOf(const TFigure& f) {
    return {TruncTowardZero(-f.posx / 4.0), TruncTowardZero(-f.posy / 4.0), TruncTowardZero(-f.posz / 4.0)};
}

// The ray's direction and length; none when the ray has no length (that
// cannot come from a drawn face, but a broken depth read must not divide by
// zero).
struct TRayDirection {
    TWorldPoint d;
    double length;
};

std::optional<TRayDirection> Direction(const TAimRay& ray) {
    const TWorldPoint d{ray.picked.x - ray.nearPoint.x, ray.picked.y - ray.nearPoint.y,
                        ray.picked.z - ray.nearPoint.z};
    const double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (!(length > 0.0) || !std::isfinite(length)) return std::nullopt;
    return TRayDirection{d, length};
}

// The point k units from the picked point along the ray (k < 0: toward the eye).
TWorldPoint Probe(const TAimRay& ray, const TRayDirection& dir, double k) {
    return {ray.picked.x + k * dir.d.x / dir.length, ray.picked.y + k * dir.d.y / dir.length,
            ray.picked.z + k * dir.d.z / dir.length};
}

}  // namespace

std::optional<TCellIndex> FindEditCell(const TLevel& level, int64_t cx, int64_t cy, int64_t cz,
                                       const TWorldPoint& q, bool wantEmpty) {
    int64_t xlo, xhi, ylo, yhi, zlo, zhi;
    if (!AxisCandidates(q.x, cx, xlo, xhi) || !AxisCandidates(q.y, cy, ylo, yhi) ||
        !AxisCandidates(q.z, cz, zlo, zhi)) {
        return std::nullopt;
    }
    for (int64_t y = ylo; y <= yhi; ++y) {
        if (!BoxContains(y, q.y)) continue;
        for (int64_t x = xlo; x <= xhi; ++x) {
            if (!BoxContains(x, q.x)) continue;
            for (int64_t z = zlo; z <= zhi; ++z) {
                if (!BoxContains(z, q.z)) continue;
                if ((level.wrapped(x, y, z) == kEmpty) != wantEmpty) continue;
                return TCellIndex{WrapIndex(x), WrapIndex(y), WrapIndex(z)};
            }
        }
    }
    return std::nullopt;
}

void PlaceBlock(TGameState& s, GameServices& services, int view, const TAimRay& ray) {
    const int32_t material = view == 0 ? s.material : s.gmaterial;
    if (s.quitmode || material == kWeapon) return;
    const auto dir = Direction(ray);
    if (!dir) return;
    const TFigure fig = FigureOfView(s, view);
    const TScanCentre c = ViewCellOf(fig);
    for (int k = 0; k < kProbes; ++k) {
        // Step back toward the viewer, out of the aimed block.
        const auto cell = FindEditCell(s.level, c.x, c.y, c.z, Probe(ray, *dir, -k), true);
        if (!cell) continue;
        s.level.set(cell->x, cell->y, cell->z, material + 1);
        if (BodyTest(s, services, fig)) s.level.set(cell->x, cell->y, cell->z, kEmpty);  // it would trap the builder
        return;
    }
}

void RemoveBlockOrFire(TGameState& s, GameServices& services, int view, const TAimRay& ray,
                       const EditHooks& hooks) {
    if (s.quitmode) return;
    const auto dir = Direction(ray);
    if (!dir) return;
    const int32_t material = view == 0 ? s.material : s.gmaterial;
    if (material == kWeapon && !s.modusformKreativCheckchecked) {
        if (hooks.launchMissile) hooks.launchMissile(s, services, view, ray);
        return;
    }
    const TFigure fig = FigureOfView(s, view);
    const TScanCentre c = ViewCellOf(fig);
    for (int k = 0; k < kProbes; ++k) {
        // Step on, into the aimed block.
        const auto cell = FindEditCell(s.level, c.x, c.y, c.z, Probe(ray, *dir, k), false);
        if (!cell) continue;
        if (s.level.at(cell->x, cell->y, cell->z) == kEmerald && EmeraldEndsRound(s))
            EndRound(s, services, fig.finder);
        s.level.set(cell->x, cell->y, cell->z, kEmpty);
        return;
    }
}

}  // namespace qw
