#include "sim/Fire.h"

#include <cmath>

#include "sim/MissileRecord.h"
#include "sim/RoundOutcome.h"

namespace qw {

namespace {

constexpr int32_t kKnockBackFrames = 8;

// Only a fight has consequences beyond the life counter: the victim is
// thrown along the other figure's missile and may lose the round.
void HitFigure(TGameState& s, GameServices& services, int victim) {
    if (!s.modusformFightCheckchecked) return;
    const TMissile other = MissileOf(s, victim == kFirstFigure ? kSecondFigure : kFirstFigure);
    int32_t lives;
    if (victim == kFirstFigure) {
        s.tjump = kKnockBackFrames;
        s.tdirx = other.dirx;
        s.tdiry = other.diry;
        s.tdirz = other.dirz;
        lives = s.leben;
    } else {
        s.gtjump = kKnockBackFrames;
        s.gtdirx = other.dirx;
        s.gtdiry = other.diry;
        s.gtdirz = other.dirz;
        lives = s.gleben;
    }
    // Once the round is decided, hits still hurt but change nothing else.
    if (s.emeraldfound) return;
    if (lives <= 0) {
        EndRound(s, services, victim == kFirstFigure ? kFinderSecondFigure : kFinderFirstFigure);
    } else {
        services.SoundCommand(victim == kFirstFigure ? "play troffen from 0" : "play btroffen from 0");
    }
}

}  // namespace

double EmeraldDistance(const TGameState& s, int a, int b, int c) {
    const int64_t dy = static_cast<int64_t>(b) - s.emeraldy;
    int64_t nearest = -1;
    for (int64_t copyX : {-kGridSize, 0, kGridSize}) {
        for (int64_t copyZ : {-kGridSize, 0, kGridSize}) {
            const int64_t dx = a + copyX - s.emeraldx;
            const int64_t dz = c + copyZ - s.emeraldz;
            const int64_t squared = dx * dx + dy * dy + dz * dz;
            if (nearest < 0 || squared < nearest) nearest = squared;
        }
    }
    return std::sqrt(static_cast<double>(nearest));
}

void Explode(TGameState& s, GameServices& services, int figure, const TCellIndex& cell) {
    const TMissile m = MissileOf(s, figure);
    m.lastdist = EmeraldDistance(s, cell.x, cell.y, cell.z);
    m.showdist = true;
    services.SoundCommand("play bomb from 0");
    for (int i = -2; i <= 2; ++i) {
        for (int j = -2; j <= 2; ++j) {
            for (int k = -2; k <= 2; ++k) {
                if (i * i + j * j + k * k > 4) continue;
                if (s.level.wrapped(cell.x + i, cell.y + j, cell.z + k) != kEmerald)
                    s.level.setWrapped(cell.x + i, cell.y + j, cell.z + k, m.fireCode);
            }
        }
    }
    m.counteinschlag = kFireFrames;
}

void FireCountdown(TGameState& s, GameServices& services, int figure) {
    const TMissile m = MissileOf(s, figure);
    if (!m.exists || !m.einschlag) return;
    if (m.counteinschlag > 0) {
        --m.counteinschlag;
        return;
    }
    // Every cell of the grid, not just the ball: a world file may hold fire
    // codes too.
    s.level.replaceAll(m.fireCode, kEmpty);
    const bool firstTouched = figure == kFirstFigure ? s.getroffen : s.getroffen2;
    const bool secondTouched = figure == kFirstFigure ? s.ggetroffen : s.ggetroffen2;
    if (firstTouched) {
        --s.leben;
        HitFigure(s, services, kFirstFigure);
    } else if (secondTouched) {
        --s.gleben;
        HitFigure(s, services, kSecondFigure);
    }
    m.exists = false;  // the impact flag stays until the next launch
}

}  // namespace qw
