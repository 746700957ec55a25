#include "sim/Missiles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/Fire.h"
#include "sim/MissileRecord.h"

namespace qw {

namespace {

constexpr double kHalfSize = 0.5;     // a missile counts as a cube of one unit
constexpr double kLaunchHeight = 10;  // the opponent shoots from above its head

int64_t MissileCell(double c) { return TruncTowardZero(c / 4.0); }

bool Overlaps(double m, double low, double high) { return m - kHalfSize <= high && m + kHalfSize >= low; }

bool OverlapsCell(double m, int64_t n) {
    const double low = 4.0 * static_cast<double>(n);
    return Overlaps(m, low, low + 4.0);
}

// The first figure's missile looks 10 cells around its cell c, the
// second's only one, so the second's misses cell c - 2 where truncation
// toward zero puts c one too high. Only c - 2 ... c + 1 can overlap the cube
// at all, so the wide window is cut to those: same cells, same order, same
// first hit. Fixed-size loops on 64-bit indices: a missile far outside the
// grid costs no more and overflows nothing.
struct TScanRange {
    int64_t low, high;
};

TScanRange ScanRange(int64_t centre, int64_t reach) {
    return {centre - std::min<int64_t>(reach, 2), centre + std::min<int64_t>(reach, 1)};
}

bool HitsFigure(const TGameState& s, int figure, const TMissile& m) {
    // The first figure's missile aims at the second figure, and the other way round.
    const bool atSecond = figure == kFirstFigure;
    const double tx = atSecond ? -s.gposx : -s.posx;
    const double ty = atSecond ? -s.gposy : -s.posy;
    const double tz = atSecond ? -s.gposz : -s.posz;
    const double bottom = atSecond ? 0.0 : 2.0;
    const double top = atSecond ? 8.0 : 10.0;
    return Overlaps(m.x, tx - 2, tx + 2) && Overlaps(m.z, tz - 2, tz + 2) && Overlaps(m.y, ty + bottom, ty + top);
}

void Launch(GameServices& services, const TMissile& m, const TWorldPoint& from, double dx, double dy, double dz,
            double length) {
    services.SoundCommand("play launch from 0");
    m.exists = true;
    m.einschlag = false;
    m.x = from.x;
    m.y = from.y;
    m.z = from.z;
    m.dirx = dx / length;
    m.diry = dy / length;
    m.dirz = dz / length;
}

}  // namespace

void PlayerLaunch(TGameState& s, GameServices& services, int figure, const TAimRay& ray) {
    const TMissile m = MissileOf(s, figure);
    if (m.exists) return;
    const double dx = ray.picked.x - ray.nearPoint.x;
    const double dy = ray.picked.y - ray.nearPoint.y;
    const double dz = ray.picked.z - ray.nearPoint.z;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    // A failed depth read must not give a missile without a direction.
    if (!(length > 0.0) || !std::isfinite(length)) return;
    Launch(services, m, ray.nearPoint, dx, dy, dz, length);
}

void OpponentLaunch(TGameState& s, GameServices& services) {
    const TMissile m = MissileOf(s, kSecondFigure);
    if (m.exists) return;
    const double a = s.gangle * std::numbers::pi / 180.0;
    const double slope = s.modusformFightCheckchecked ? 0.2 : 0.1;
    const double dx = std::sin(a);
    const double dy = -(slope + 1.0 / (services.Random(10) + 10));
    const double dz = -std::cos(a);
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    Launch(services, m, {-s.gposx, -s.gposy + kLaunchHeight, -s.gposz}, dx, dy, dz, length);
}

bool ImpactTest(TGameState& s, GameServices& services, int figure) {
    const TMissile m = MissileOf(s, figure);
    m.einschlag = false;
    if (HitsFigure(s, figure, m)) {
        m.einschlag = true;
        Explode(s, services, figure,
                {WrapIndex(MissileCell(m.x)), WrapIndex(MissileCell(m.y)), WrapIndex(MissileCell(m.z))});
        return true;
    }
    const int64_t reach = figure == kFirstFigure ? 10 : 1;
    const TScanRange xs = ScanRange(MissileCell(m.x), reach);
    const TScanRange ys = ScanRange(MissileCell(m.y), reach);
    const TScanRange zs = ScanRange(MissileCell(m.z), reach);
    for (int64_t x = xs.low; x <= xs.high; ++x) {
        if (!OverlapsCell(m.x, x)) continue;
        for (int64_t y = ys.low; y <= ys.high; ++y) {
            if (!OverlapsCell(m.y, y)) continue;
            for (int64_t z = zs.low; z <= zs.high; ++z) {
                if (!OverlapsCell(m.z, z) || s.level.wrapped(x, y, z) == kEmpty) continue;
                m.einschlag = true;
                Explode(s, services, figure, {WrapIndex(x), WrapIndex(y), WrapIndex(z)});
                return true;
            }
        }
    }
    return false;
}

void MissileFlight(TGameState& s, GameServices& services, int figure, int view) {
    const TMissile m = MissileOf(s, figure);
    if (view != 0 || !m.exists || m.einschlag || s.quitmode) return;
    for (int i = 0; i < kSubStepsPerFrame; ++i) {
        m.x += m.dirx;
        m.y += m.diry;
        m.z += m.dirz;
        if (ImpactTest(s, services, figure)) break;
    }
    m.diry -= kMissileGravity;
}

void MissilePasses(TGameState& s, GameServices& services, int view,
                   const std::function<void(double x, double y, double z)>& drawBox) {
    for (int figure : {kFirstFigure, kSecondFigure}) {
        const TMissile m = MissileOf(s, figure);
        if (!m.exists) continue;
        MissileFlight(s, services, figure, view);
        if (drawBox) drawBox(m.x, m.y, m.z);
        FireCountdown(s, services, figure);
    }
}

}  // namespace qw
