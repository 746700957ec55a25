#include "shell/NetworkNotice.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "assets/TextDraw.h"
#include "render/Views.h"

namespace qw {

void DrawNetworkNotice(TGameState& gs, const std::string& text, int W, int H) {
    glViewport(0, 0, W, H);
    ClearToSky();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, W, H, 0, -1, 10);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    DrawText(gs, text, 20, W / 2 - 190, H / 2 - 10);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}

std::string TransferNotice(double share) {
    const int percent = static_cast<int>(std::floor(std::clamp(share, 0.0, 1.0) * 100));
    return "Die Welt wird übertragen … " + std::to_string(percent) + " %";
}

}  // namespace qw
