#pragma once
// The blocky figure: head, body, two arms, two legs and a head overlay, drawn
// in immediate mode from the 42 body-part textures of a skin.
#include <cstdint>

#include "world/GameState.h"

namespace qw {

struct TCorner {
    float x, y, z;
};

// Four vertices inside glBegin(GL_QUADS)/glEnd, with texture coordinates
// (r, 0), (r, r), (0, r), (0, 0) in corner order.
void DrawSkinQuad(const TCorner& c1, const TCorner& c2, const TCorner& c3, const TCorner& c4, float r);

// Draws one figure under the current modelview matrix, centred on its head,
// facing +z, soles at y = -7. Limbs swing by g.armlinksrot, armrechtsrot,
// beinlinksrot and beinrechtsrot. texBase 300 is the player's skin, 200 the
// opponent's. Call outside glBegin/glEnd; the matrix stack is left as found.
void DrawCharacterModel(const TGameState& g, int32_t texBase);

}  // namespace qw
