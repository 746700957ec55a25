#include "render/Picking.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "sim/EdgeLatch.h"

namespace qw {

namespace {

struct TViewMatrices {
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
};

TViewMatrices CurrentMatrices() {
    TViewMatrices m;
    glGetDoublev(GL_MODELVIEW_MATRIX, m.modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, m.projection);
    glGetIntegerv(GL_VIEWPORT, m.viewport);
    return m;
}

std::optional<TWorldPoint> Unproject(const TViewMatrices& m, double wx, double wy, double depth) {
    TWorldPoint p;
    if (gluUnProject(wx, wy, depth, m.modelview, m.projection, m.viewport, &p.x, &p.y, &p.z) != GL_TRUE) {
        return std::nullopt;
    }
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return std::nullopt;
    return p;
}

struct TEditInputs {
    bool placeDown;
    bool removeDown;
    bool& placeLatch;
    bool& removeLatch;
};

TEditInputs InputsOfView(TGameState& s, GameServices& services, int view) {
    if (view == 0) {
        return {services.KeyHeld(VK_RBUTTON), services.KeyHeld(VK_LBUTTON), s.rmousepressed,
                s.lmousepressed};
    }
    const bool pad = s.joy1.ok;
    return {services.KeyHeld(VK_NUMPAD3) || (pad && s.joy1.but[1]),
            services.KeyHeld(VK_NUMPAD1) || (pad && s.joy1.but[0]), s.grmousepressed, s.glmousepressed};
}

}  // namespace

std::optional<TWorldPoint> ViewNearPoint() {
    const TViewMatrices m = CurrentMatrices();
    return Unproject(m, m.viewport[0] + m.viewport[2] / 2.0, m.viewport[1] + m.viewport[3] / 2.0, 0.0);
}

std::optional<TWorldPoint> PickWorldPoint(int32_t wx, int32_t wy) {
    const TViewMatrices m = CurrentMatrices();
    GLfloat depth = 1.0f;
    glReadPixels(wx, wy, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return Unproject(m, wx, wy, depth);
}

std::optional<TAimRay> PickAimRay(const std::optional<TWorldPoint>& nearPoint) {
    if (!nearPoint) return std::nullopt;
    // The viewport's centre pixel is (W div 2, H div 2) for one view and
    // H div 4 or H div 2 + H div 4 up for the lower and upper half.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const auto picked = PickWorldPoint(viewport[0] + viewport[2] / 2, viewport[1] + viewport[3] / 2);
    if (!picked) return std::nullopt;
    return TAimRay{*nearPoint, *picked};
}

void PickAndEdit(TGameState& s, GameServices& services, int view,
                 const std::optional<TWorldPoint>& nearPoint, const EditHooks& hooks) {
    const TEditInputs in = InputsOfView(s, services, view);
    // Both latches follow their inputs every frame, paused or not.
    const bool place = PressedOnce(in.placeDown, in.placeLatch);
    const bool remove = PressedOnce(in.removeDown, in.removeLatch);
    if ((!place && !remove) || s.quitmode) return;
    // Reading the depth stalls the pipeline, so only on a press.
    const auto ray = PickAimRay(nearPoint);
    if (!ray) return;
    if (place) PlaceBlock(s, services, view, *ray);
    if (remove) RemoveBlockOrFire(s, services, view, *ray, hooks);
}

}  // namespace qw
