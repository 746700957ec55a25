#include "render/ReferenceWorld.h"

#include <GL/gl.h>

#include "render/BlockLook.h"
#include "render/Views.h"

namespace qw {

void DrawCellsReference(const TGameState& g, int view) {
    const TViewCell c = ViewCell(g, view);
    for (int64_t y = c.y - kViewRadius; y <= c.y + kViewRadius; ++y) {
        const int wy = WrapIndex(y);
        for (int64_t x = c.x - kViewRadius; x <= c.x + kViewRadius; ++x) {
            const int wx = WrapIndex(x);
            for (int64_t z = c.z - kViewRadius; z <= c.z + kViewRadius; ++z) {
                const TBlockLook* look = BlockLookOfCode(g.level.at(wx, wy, WrapIndex(z)));
                if (!look) continue;
                // At the unwrapped position, so the world repeats seamlessly.
                glPushMatrix();
                glTranslatef(static_cast<float>(4.0 * static_cast<double>(x)),
                             static_cast<float>(4.0 * static_cast<double>(y)),
                             static_cast<float>(4.0 * static_cast<double>(z)));
                glCallList(g.listIndex + static_cast<GLuint>(look->listOffset));
                glPopMatrix();
            }
        }
    }
}

}  // namespace qw
