#include "render/Views.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "render/GLState.h"

namespace qw {

int ViewCount(const TGameState& g) { return g.multiplayer ? 2 : 1; }

void ClearToSky() {
    glClearColor(0.2f, 0.2f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SetViewViewport(const TGameState& g, int view, int width, int height, int onlyView) {
    if (!g.multiplayer || onlyView != kAllViews) {
        glViewport(0, 0, width, height);
        return;
    }
    const int half = height / 2;
    glViewport(0, view == 0 ? 0 : half, width, half);
}

void SetViewCamera(const TGameState& g, int view) {
    glLoadIdentity();
    if (view != 0) {
        glRotatef(static_cast<float>(g.gangle2), 1.0f, 0.0f, 0.0f);
        glRotatef(static_cast<float>(g.gangle), 0.0f, 1.0f, 0.0f);
        glTranslatef(static_cast<float>(g.gposx), static_cast<float>(g.gposy), static_cast<float>(g.gposz));
    } else {
        const double a = g.angle * std::numbers::pi / 180.0;
        double x = g.posx;
        double z = g.posz;
        glRotatef(static_cast<float>(g.angle2), 1.0f, 0.0f, 0.0f);
        glRotatef(static_cast<float>(g.angle), 0.0f, 1.0f, 0.0f);
        if (g.viewmode == 1) {
            // Ten units back against the heading.
            x += 10.0 * std::sin(a);
            z -= 10.0 * std::cos(a);
        } else if (g.viewmode == 2) {
            // Ten units ahead, turned round to face the figure.
            glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
            x -= 10.0 * std::sin(a);
            z += 10.0 * std::cos(a);
        }
        glTranslatef(static_cast<float>(x), static_cast<float>(g.posy), static_cast<float>(z));
    }
    // The eye is two cells above the figure's feet.
    glTranslatef(0.0f, -8.0f, 0.0f);
}

TViewCell ViewCell(const TGameState& g, int view) {
    const double px = view == 0 ? g.posx : g.gposx;
    const double py = view == 0 ? g.posy : g.gposy;
    const double pz = view == 0 ? g.posz : g.gposz;
    return {TruncTowardZero(-px / 4.0), TruncTowardZero(-py / 4.0), TruncTowardZero(-pz / 4.0)};
}

void DrawMissileBox(const TGameState& g, double x, double y, double z) {
    glBindTexture(GL_TEXTURE_2D, g.texName[100]);
    glBegin(GL_QUADS);
    DrawTexBox(static_cast<float>(x - 0.5), static_cast<float>(y - 0.5), static_cast<float>(z - 0.5),
               static_cast<float>(x + 0.5), static_cast<float>(y + 0.5), static_cast<float>(z + 0.5), 1.0f);
    glEnd();
}

void DrawViews(const TGameState& g, int width, int height, const TViewSteps& steps, int onlyView) {
    const auto run = [](const std::function<void(int)>& step, int view) {
        if (step) step(view);
    };
    ClearToSky();
    for (int view = 0; view < ViewCount(g); ++view) {
        if (onlyView != kAllViews && view != onlyView) {
            run(steps.undrawn, view);
            continue;
        }
        SetViewViewport(g, view, width, height, onlyView);
        SetViewCamera(g, view);
        run(steps.nearPoint, view);
        run(steps.cells, view);
        run(steps.pickAndEdit, view);
        run(steps.missiles, view);
        run(steps.figures, view);
        run(steps.sighting, view);
        run(steps.overlay, view);
    }
}

}  // namespace qw
