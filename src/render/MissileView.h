#pragma once
// The missile step of a view: both missiles fly (view 0), are drawn as
// fire-textured boxes and count their fire down.
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

// Runs after picking and editing, before the figures, in every view.
void DrawMissiles(TGameState& state, GameServices& services, int view);

}  // namespace qw
