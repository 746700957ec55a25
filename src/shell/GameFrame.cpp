#include "shell/GameFrame.h"

#include <GL/gl.h>

#include <array>
#include <optional>

#include "render/Figures.h"
#include "render/MissileView.h"
#include "render/Picking.h"
#include "render/Views.h"
#include "shell/Overlay.h"
#include "sim/EdgeLatch.h"
#include "sim/FrameUpdate.h"
#include "sim/Missiles.h"
#include "sim/Opponent.h"
#include "sim/Sighting.h"

namespace qw {

namespace {

// Hands the world to a threaded renderer now, so it fills pixels while the
// figures and the overlay are still being sent.
void DrawCells(const std::function<void(int)>& cells, int view) {
    if (cells) cells(view);
    glFlush();
}

}  // namespace

void GameFrame(TGameState& g, GameServices& services, int width, int height, const TFrameHooks& hooks) {
    UpdateHooks updateHooks;
    updateHooks.opponentController = OpponentController;
    updateHooks.takeScreenshot = hooks.takeScreenshot;
    updateHooks.remote = hooks.remote;
    UpdatePhase(g, services, updateHooks);

    EditHooks editHooks;
    editHooks.launchMissile = PlayerLaunch;
    std::array<std::optional<TWorldPoint>, 2> nearPoints;
    TViewSteps steps;
    steps.nearPoint = [&](int view) { nearPoints[static_cast<size_t>(view)] = ViewNearPoint(); };
    steps.cells = [&](int view) { DrawCells(hooks.cells, view); };
    steps.pickAndEdit = [&](int view) {
        PickAndEdit(g, services, view, nearPoints[static_cast<size_t>(view)], editHooks);
    };
    steps.missiles = [&](int view) { DrawMissiles(g, services, view); };
    steps.figures = [&](int view) { DrawFigures(g, view); };
    steps.sighting = [&](int) { OpponentSighting(g, services); };
    const TRoundEndVoice voice = hooks.remote ? TRoundEndVoice::OwnScreen : TRoundEndVoice::SharedScreen;
    steps.overlay = [&](int view) { DrawOverlay(g, view, width, height, voice); };
    if (!hooks.remote) {
        DrawViews(g, width, height, steps);
        return;
    }
    // The guest's view: its presses with the rays its picture gave, its
    // missile's fire countdown and its overlay pass, nothing drawn.
    steps.undrawn = [&](int view) {
        ApplyRemoteEdits(g, services, *hooks.remote, editHooks);
        MissilePasses(g, services, view, [](double, double, double) {});
        OpponentSighting(g, services);
        UndrawnOverlayPass(g);
    };
    DrawViews(g, width, height, steps, 0);
}

void GuestFrame(TGameState& g, GameServices& services, int width, int height, const TGuestFrameHooks& hooks) {
    UpdateHooks updateHooks;
    updateHooks.takeScreenshot = hooks.takeScreenshot;
    if (ViewerUpdatePhase(g, services, updateHooks) && hooks.escapePressed) hooks.escapePressed();

    std::optional<TWorldPoint> nearPoint;
    TViewSteps steps;
    steps.nearPoint = [&](int) { nearPoint = ViewNearPoint(); };
    steps.cells = [&](int view) { DrawCells(hooks.cells, view); };
    steps.pickAndEdit = [&](int) {
        // The first player's buttons and latches; the host edits.
        const bool place = PressedOnce(services.KeyHeld(VK_RBUTTON), g.rmousepressed);
        const bool remove = PressedOnce(services.KeyHeld(VK_LBUTTON), g.lmousepressed);
        if ((!place && !remove) || g.quitmode || !hooks.editPressed) return;
        const auto ray = PickAimRay(nearPoint);
        if (!ray) return;
        if (place) hooks.editPressed(true, *ray);
        if (remove) hooks.editPressed(false, *ray);
    };
    steps.missiles = [&](int) {
        if (g.missle) DrawMissileBox(g, g.misslex, g.missley, g.misslez);
        if (g.gmissle) DrawMissileBox(g, g.gmisslex, g.gmissley, g.gmisslez);
    };
    steps.figures = [&](int view) { DrawFigures(g, view); };
    steps.overlay = [&](int view) { DrawOverlay(g, view, width, height, TRoundEndVoice::OwnScreen); };
    DrawViews(g, width, height, steps, 0);
}

}  // namespace qw
