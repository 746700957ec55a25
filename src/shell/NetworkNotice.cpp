#include "shell/NetworkNotice.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "assets/TextDraw.h"
#include "render/Views.h"
#include "shell/ScreenTextPass.h"

namespace qw {

void DrawNetworkNotice(TGameState& gs, const std::string& text, int W, int H) {
    glViewport(0, 0, W, H);
    ClearToSky();
    TScreenTextPass pass(W, H);
    glColor3f(1, 1, 1);
    DrawText(gs, text, 20, W / 2 - 190, H / 2 - 10);
}

std::string TransferNotice(double share) {
    const int percent = static_cast<int>(std::floor(std::clamp(share, 0.0, 1.0) * 100));
    return "Die Welt wird übertragen … " + std::to_string(percent) + " %";
}

}  // namespace qw
