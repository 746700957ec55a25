#pragma once
// Moving the two figures through the grid. Both figures go through the same
// code; a TFigure names which of the record's fields belong to the figure.
#include <cstdint>

#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

struct TFigure {
    double& posx;  // stored negated: the figure stands at (-posx, -posy, -posz)
    double& posy;
    double& posz;
    double& angle;
    int32_t& jump;   // jump rise frames left
    int32_t& tjump;  // knock-back frames left
    double& tdirx;
    double& tdirz;
    bool& laufe;         // walked this frame
    double& armlinksrot; // walking swing angle
    int32_t& rotmode;    // swing direction: 0 increasing, 1 decreasing
    bool& getroffen;     // last body test touched the first figure's fire
    bool& getroffen2;    // ... the second figure's fire
    bool* stecktefest;   // where the stuck result is kept, if anywhere
    int32_t finder;      // who wins when this figure finds the emerald
};

TFigure FirstFigure(TGameState& state);
TFigure SecondFigure(TGameState& state);
// view 0 belongs to the first figure, view 1 to the second.
TFigure FigureOfView(TGameState& state, int view);

// Tests the figure's twelve body samples against the grid; true when one of
// them lies in a non-empty cell. Also sets the fire flags and, in the search
// mode, ends the round for every sample in the emerald.
bool BodyTest(TGameState& state, GameServices& services, const TFigure& figure);

// One walk call: up to 11 sub-steps of `step` (doubled when fast) along the
// heading, or at right angles to it when sideways; stops before a sub-step
// that would overlap a cell. Advances the limb swing even when blocked.
void WalkStep(TGameState& state, GameServices& services, const TFigure& figure, bool sideways,
              bool fast, double step);

// One frame of knock-back, if any is left: rise 2 units and slide along the
// hit direction unless that overlaps a cell.
void KnockBackStep(TGameState& state, GameServices& services, const TFigure& figure);

// One frame of jump rise or of falling (up to 1.1 units). True when the
// figure stands (on a block or stuck inside one).
bool JumpGravityStep(TGameState& state, GameServices& services, const TFigure& figure);

// A jump rises for 8 frames; it only starts when none is running.
void StartJump(const TFigure& figure);

}  // namespace qw
