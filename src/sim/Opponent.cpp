#include "sim/Opponent.h"

#include <cmath>
#include <numbers>

#include "sim/Missiles.h"
#include "sim/Movement.h"

namespace qw {

namespace {

constexpr double kWalkStep = 0.1;
constexpr double kTooClose = 28;  // units, heights ignored
constexpr double kTooFar = 32;
constexpr double kBudgetPerFrame = 0.2;

// The search states.
enum : int32_t {
    kChooseProbe = 0,
    kTurnToProbe = 1,
    kWaitForMissile = 2,
    kFireProbe = 3,
    kAwaitProbe = 4,
    kTurnToBest = 5,
    kWalkToBest = 6,
};

// The search waits for gangle to equal zielwinkel. A yaw read from a world
// file may be fractional, or so large that a step of one degree is lost in
// rounding; then the last step goes straight to the target.
void TurnUntilEqual(TGameState& s) {
    const double before = s.gangle;
    if (std::fabs(s.zielwinkel - before) < 1.0) {
        s.gangle = s.zielwinkel;
        return;
    }
    TurnTowardTarget(s);
    if (s.gangle == before) s.gangle = s.zielwinkel;
}

void TurnState(TGameState& s, int32_t next) {
    if (s.gangle == s.zielwinkel) {
        s.gegnermodus = next;
    } else {
        TurnUntilEqual(s);
    }
}

// Records the probe that just burnt out; after the fourth turns back to the
// direction that came closest (ties to the earlier one) with half its
// distance as walking budget.
void RecordProbe(TGameState& s) {
    switch (s.gdistanzmode) {
        case 0: s.gdistanz1 = s.glastdist; break;
        case 1: s.gdistanz2 = s.glastdist; break;
        case 2: s.gdistanz3 = s.glastdist; break;
        default: s.gdistanz4 = s.glastdist; break;
    }
    if (s.gdistanzmode < 3) {
        ++s.gdistanzmode;
        s.gegnermodus = kChooseProbe;
        return;
    }
    const double d1 = s.gdistanz1, d2 = s.gdistanz2, d3 = s.gdistanz3, d4 = s.gdistanz4;
    if (d1 <= d2 && d1 <= d3 && d1 <= d4) {
        s.zielwinkel -= 270;
        s.zieldistanz = d1 / 2;
    } else if (d2 <= d1 && d2 <= d3 && d2 <= d4) {
        s.zielwinkel -= 180;
        s.zieldistanz = d2 / 2;
    } else if (d3 <= d1 && d3 <= d2 && d3 <= d4) {
        s.zielwinkel -= 90;
        s.zieldistanz = d3 / 2;
    } else {
        s.zieldistanz = d4 / 2;
    }
    s.gegnermodus = kTurnToBest;
}

}  // namespace

double NormalizeYaw(double yaw) {
    // A huge yaw would take the loops below for ever; fmod lands where they would.
    if (std::fabs(yaw) > 4 * 360.0) yaw = std::fmod(yaw, 360.0);
    while (yaw >= 360.0) yaw -= 360.0;
    while (yaw <= 0.0) yaw += 360.0;
    return yaw;
}

void TurnTowardTarget(TGameState& s) {
    const double g = s.gangle, t = s.zielwinkel;
    if (g < t) {
        s.gangle += g < t - 8 ? 8 : (g < t - 4 ? 4 : 1);
    } else if (g > t) {
        s.gangle -= g > t + 8 ? 8 : (g > t + 4 ? 4 : 1);
    }
}

void FightController(TGameState& s, GameServices& services) {
    const double dx = s.posx - s.gposx;
    const double dz = s.posz - s.gposz;
    s.zielwinkel = NormalizeYaw(std::atan2(dz, dx) * 180.0 / std::numbers::pi - 90.0);
    s.gangle = NormalizeYaw(s.gangle);
    s.zieldistanz = std::sqrt(dx * dx + dz * dz);
    TurnTowardTarget(s);
    if (s.gtjump != 0) return;
    if (s.zieldistanz < kTooClose) {
        WalkStep(s, services, SecondFigure(s), false, true, -kWalkStep);
    } else if (s.zieldistanz > kTooFar) {
        WalkStep(s, services, SecondFigure(s), false, true, +kWalkStep);
    } else {
        OpponentLaunch(s, services);
    }
}

void SearchController(TGameState& s, GameServices& services) {
    switch (s.gegnermodus) {
        case kChooseProbe:
            // The first probe goes off at a random angle, the others 90 degrees further each.
            s.zielwinkel = s.gangle + (s.gdistanzmode == 0 ? services.Random(90) : 90);
            s.gegnermodus = kTurnToProbe;
            break;
        case kTurnToProbe: TurnState(s, kWaitForMissile); break;
        case kWaitForMissile:
            if (!s.gmissle) s.gegnermodus = kFireProbe;
            break;
        case kFireProbe:
            OpponentLaunch(s, services);
            s.gegnermodus = kAwaitProbe;
            break;
        case kAwaitProbe:
            // The missile is freed only when its fire has burnt out.
            if (!s.gmissle) RecordProbe(s);
            break;
        case kTurnToBest: TurnState(s, kWalkToBest); break;
        case kWalkToBest:
            WalkStep(s, services, SecondFigure(s), false, true, +kWalkStep);
            s.zieldistanz -= kBudgetPerFrame;
            if (s.zieldistanz <= 0) {
                s.gegnermodus = kChooseProbe;
                s.gdistanzmode = 0;
            }
            break;
    }
}

void OpponentController(TGameState& s, GameServices& services) {
    if (s.modusformFightCheckchecked) {
        FightController(s, services);
    } else {
        SearchController(s, services);
    }
}

}  // namespace qw
