#include "sim/Movement.h"

#include <cmath>
#include <numbers>

#include "sim/RoundOutcome.h"

namespace qw {

namespace {

constexpr int kSubSteps = 11;
constexpr double kFallPerSubStep = 0.1;
constexpr int32_t kJumpFrames = 8;
constexpr double kJumpRise = 1.0;
constexpr double kKnockBackRise = 2.0;
constexpr double kKnockBackSlide = 5.0;
constexpr double kSwingLimit = 45.0;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Round half-to-even, then wrapped: the body test's own cell rule.
int64_t BodyCell(double c) { return RoundHalfEven(c / 4.0); }

void Swing(const TFigure& f, bool fast) {
    const double d = fast ? 30.0 : 15.0;
    if (f.rotmode == 0) {
        f.armlinksrot += d;
        if (f.armlinksrot > kSwingLimit) {
            f.armlinksrot = kSwingLimit;
            f.rotmode = 1;
        }
    } else {
        f.armlinksrot -= d;
        if (f.armlinksrot < -kSwingLimit) {
            f.armlinksrot = -kSwingLimit;
            f.rotmode = 0;
        }
    }
}

}  // namespace

TFigure FirstFigure(TGameState& s) {
    return {.posx = s.posx, .posy = s.posy, .posz = s.posz, .angle = s.angle,
            .jump = s.jump, .tjump = s.tjump, .tdirx = s.tdirx, .tdirz = s.tdirz,
            .laufe = s.splaufe, .armlinksrot = s.sparmlinksrot, .rotmode = s.rotmode,
            .getroffen = s.getroffen, .getroffen2 = s.getroffen2,
            .stecktefest = nullptr,  // the first figure's stuck result lives only in the frame
            .finder = kFinderFirstFigure};
}

TFigure SecondFigure(TGameState& s) {
    return {.posx = s.gposx, .posy = s.gposy, .posz = s.gposz, .angle = s.gangle,
            .jump = s.gjump, .tjump = s.gtjump, .tdirx = s.gtdirx, .tdirz = s.gtdirz,
            .laufe = s.gelaufe, .armlinksrot = s.garmlinksrot, .rotmode = s.grotmode,
            .getroffen = s.ggetroffen, .getroffen2 = s.ggetroffen2,
            .stecktefest = &s.gstecktefest, .finder = kFinderSecondFigure};
}

TFigure FigureOfView(TGameState& s, int view) { return view == 0 ? FirstFigure(s) : SecondFigure(s); }

bool BodyTest(TGameState& s, GameServices& services, const TFigure& f) {
    // The body: three heights in four columns, offset toward -x and -z.
    static constexpr double kCornerA[4] = {1, 3, 3, 1};
    static constexpr double kCornerB[4] = {1, 1, 3, 3};
    bool stuck = false;
    f.getroffen = false;
    f.getroffen2 = false;
    const double wx = -f.posx, wy = -f.posy, wz = -f.posz;
    for (int level = 0; level < 3; ++level) {
        for (int k = 0; k < 4; ++k) {
            const int32_t code = s.level.wrapped(BodyCell(wx - kCornerA[k]), BodyCell(wy + 3.0 * level),
                                                 BodyCell(wz - kCornerB[k]));
            if (code == kEmpty) continue;
            stuck = true;
            if (code == kFire1) f.getroffen = true;
            if (code == kFire2) f.getroffen2 = true;
            if (code == kEmerald && EmeraldEndsRound(s)) EndRound(s, services, f.finder);
        }
    }
    if (f.stecktefest) *f.stecktefest = stuck;
    return stuck;
}

void WalkStep(TGameState& s, GameServices& services, const TFigure& f, bool sideways, bool fast,
              double step) {
    f.laufe = true;
    if (!BodyTest(s, services, f)) {
        if (fast) step *= 2.0;
        const double a = Radians(f.angle + (sideways ? 90.0 : 0.0));
        const double dz = std::cos(a) * step;
        const double dx = std::sin(a) * step;
        for (int i = 0; i < kSubSteps; ++i) {
            const double oldx = f.posx, oldz = f.posz;
            f.posz += dz;
            f.posx -= dx;
            if (BodyTest(s, services, f)) {
                f.posx = oldx;
                f.posz = oldz;
                break;
            }
        }
    }
    Swing(f, fast);
}

void KnockBackStep(TGameState& s, GameServices& services, const TFigure& f) {
    if (f.tjump <= 0) return;
    --f.tjump;
    f.posy -= kKnockBackRise;  // the rise is not tested, like a jump
    const double oldx = f.posx, oldz = f.posz;
    f.posx -= f.tdirx * kKnockBackSlide;
    f.posz -= f.tdirz * kKnockBackSlide;
    if (BodyTest(s, services, f)) {
        f.posx = oldx;
        f.posz = oldz;
    }
}

bool JumpGravityStep(TGameState& s, GameServices& services, const TFigure& f) {
    if (f.jump > 0) {
        --f.jump;
        f.posy -= kJumpRise;
        return false;
    }
    if (BodyTest(s, services, f)) return true;
    for (int i = 0; i < kSubSteps; ++i) {
        const double oldy = f.posy;
        f.posy += kFallPerSubStep;
        if (BodyTest(s, services, f)) {
            f.posy = oldy;
            return true;
        }
    }
    return false;
}

void StartJump(const TFigure& f) {
    if (f.jump == 0) f.jump = kJumpFrames;
}

}  // namespace qw
