#pragma once
// The views of a frame: viewports, cameras and the order of the 3D pass.
#include <cstdint>
#include <functional>

#include "world/GameState.h"

namespace qw {

// Cells drawn around the viewer in every axis.
inline constexpr int kViewRadius = 20;
// Every view of the frame is drawn (one, or the two halves of the split screen).
inline constexpr int kAllViews = -1;

struct TViewCell {
    int64_t x, y, z;
};

// Two in multiplayer (view 0 = first player, lower half; view 1 = second
// player, upper half), else one.
int ViewCount(const TGameState& g);

// The sky colour, once per frame before the first view.
void ClearToSky();

// width and height: the window's client size in pixels. With onlyView set
// the view covers the whole window.
void SetViewViewport(const TGameState& g, int view, int width, int height, int onlyView = kAllViews);

// Loads the view's camera into the modelview matrix, including the lift of the
// eye above the figure's feet.
void SetViewCamera(const TGameState& g, int view);

// The cell the world is drawn around: Trunc of the viewing figure's world
// point / 4, whatever the camera mode.
TViewCell ViewCell(const TGameState& g, int view);

// A missile (world point x, y, z) as a fire-textured box of one unit, given
// inside out as the game always drew it.
void DrawMissileBox(const TGameState& g, double x, double y, double z);

// What the game inserts into each view, in this order after the camera. Empty
// steps are skipped; `cells` draws the world (fast or reference path).
struct TViewSteps {
    std::function<void(int view)> nearPoint;    // picking's near point, with this view's matrices
    std::function<void(int view)> cells;        // the world's blocks
    std::function<void(int view)> pickAndEdit;  // picking and editing for this view's player
    std::function<void(int view)> missiles;     // flight (view 0), boxes, fire countdown
    std::function<void(int view)> figures;      // first figure, then the second
    std::function<void(int view)> sighting;     // the opponent looking for the emerald
    std::function<void(int view)> overlay;      // status, material bar, menus
    // In place of all the steps above for a view that is not drawn: what it
    // changes in the game.
    std::function<void(int view)> undrawn;
};

// The 3D pass of a frame: sky, then every view with its viewport, camera and
// steps. With onlyView set (a network game: each computer shows its own
// player) that view is drawn over the whole window and the other view only
// runs its undrawn step, in its place in the order. The caller swaps the
// buffers afterwards.
void DrawViews(const TGameState& g, int width, int height, const TViewSteps& steps, int onlyView = kAllViews);

}  // namespace qw
