#pragma once
// One frame of play as the game window runs it on every timer tick: the
// update phase, then each view's 3D pass (near point, cells, picking and
// editing, missiles, figures, sighting) with its overlay. The caller makes
// the context current before and swaps the buffers after. GL only, so the
// benchmark runs exactly this frame on an off-screen context.
#include <functional>

#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

struct TFrameHooks {
    std::function<void(int view)> cells;    // the world's blocks of one view
    std::function<void()> takeScreenshot;   // F2; may throw, which ends the frame
};

// width and height: the picture's size in device pixels.
void GameFrame(TGameState& g, GameServices& services, int width, int height, const TFrameHooks& hooks);

}  // namespace qw
