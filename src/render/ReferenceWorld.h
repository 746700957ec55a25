#pragma once
// The plain way of drawing the world: every non-empty cell of the view's
// 41 x 41 x 41 window as one display-list cube, in loop order. The game draws
// with TFastWorld; this one is the yardstick for its pictures and its speed.
#include "world/GameState.h"

namespace qw {

// Draws under the current camera (SetViewCamera); needs the block lists.
void DrawCellsReference(const TGameState& g, int view);

}  // namespace qw
