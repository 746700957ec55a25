#pragma once
// One frame of play as the game window runs it on every timer tick: the
// update phase, then each view's 3D pass (near point, cells, picking and
// editing, missiles, figures, sighting) with its overlay. The caller makes
// the context current before and swaps the buffers after. GL only, so the
// benchmark runs exactly this frame on an off-screen context.
#include <functional>

#include "sim/BlockEditing.h"
#include "sim/RemoteControls.h"
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

struct TFrameHooks {
    std::function<void(int view)> cells;    // the world's blocks of one view
    std::function<void()> takeScreenshot;   // F2; may throw, which ends the frame
    // The host of a network game: the second figure's controls come from the
    // guest's computer, and only the first player's view is drawn, over the
    // whole window. The second view still runs everything it changes.
    const TRemoteInput* remote = nullptr;
};

// width and height: the picture's size in device pixels.
void GameFrame(TGameState& g, GameServices& services, int width, int height, const TFrameHooks& hooks);

struct TGuestFrameHooks {
    std::function<void(int view)> cells;
    std::function<void()> takeScreenshot;
    std::function<void()> escapePressed;
    // A new press of a mouse button, with the aim ray the picture gave.
    std::function<void(bool place, const TAimRay& ray)> editPressed;
};

// The frame of a network game's guest on its replica, in which its own
// figure is the first: its own music, camera, screenshot and mouse look,
// then its view over the whole window. Nothing is simulated; Esc and the
// edit presses go to the host through the hooks.
void GuestFrame(TGameState& g, GameServices& services, int width, int height, const TGuestFrameHooks& hooks);

}  // namespace qw
