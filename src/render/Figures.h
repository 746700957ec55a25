#pragma once
// The two figures in the 3D pass: where each is drawn, in which view, and
// how its limbs swing.
#include "world/GameState.h"

namespace qw {

// The arm angle of a figure: 45 while it jumps, its walking swing while it
// walks this frame, else 0.
double FigureArmAngle(int32_t jump, bool walking, double swing);

// Sets the four limb angles the character model reads: the arm at -x and the
// leg at +x turn by a, the other two by -a.
void SetLimbAngles(TGameState& g, double a);

// The first figure in view 1 or in its own view from outside (viewmode > 0);
// the second figure in view 0 unless the creative mode has no opponent.
bool DrawsFirstFigure(const TGameState& g, int view);
bool DrawsSecondFigure(const TGameState& g, int view);

// Draws the figures of one view, first then second, each at its world point
// with the head centre 9 units up and the front turned to its heading.
void DrawFigures(TGameState& g, int view);

}  // namespace qw
