#include "shell/GameFrame.h"

#include <GL/gl.h>

#include <array>
#include <optional>

#include "render/Figures.h"
#include "render/MissileView.h"
#include "render/Picking.h"
#include "render/Views.h"
#include "shell/Overlay.h"
#include "sim/FrameUpdate.h"
#include "sim/Missiles.h"
#include "sim/Opponent.h"
#include "sim/Sighting.h"

namespace qw {

void GameFrame(TGameState& g, GameServices& services, int width, int height, const TFrameHooks& hooks) {
    UpdateHooks updateHooks;
    updateHooks.opponentController = OpponentController;
    updateHooks.takeScreenshot = hooks.takeScreenshot;
    UpdatePhase(g, services, updateHooks);

    EditHooks editHooks;
    editHooks.launchMissile = PlayerLaunch;
    std::array<std::optional<TWorldPoint>, 2> nearPoints;
    TViewSteps steps;
    steps.nearPoint = [&](int view) { nearPoints[static_cast<size_t>(view)] = ViewNearPoint(); };
    steps.cells = [&](int view) {
        if (hooks.cells) hooks.cells(view);
        // Hands the world to a threaded renderer now, so it fills pixels
        // while the figures and the overlay are still being sent.
        glFlush();
    };
    steps.pickAndEdit = [&](int view) {
        PickAndEdit(g, services, view, nearPoints[static_cast<size_t>(view)], editHooks);
    };
    steps.missiles = [&](int view) { DrawMissiles(g, services, view); };
    steps.figures = [&](int view) { DrawFigures(g, view); };
    steps.sighting = [&](int) { OpponentSighting(g, services); };
    steps.overlay = [&](int view) { DrawOverlay(g, view, width, height); };
    DrawViews(g, width, height, steps);
}

}  // namespace qw
