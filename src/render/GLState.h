#pragma once
// The GL state the game is drawn under, the two textured primitives every
// block, missile and overlay rectangle is made of, and the block lists.
#include "world/GameState.h"

namespace qw {

// Projection for one full-height view or two half-height views (multiplayer),
// then depth test, lighting that leaves textures unchanged, texturing,
// blending and back-face culling. Needs the game window's context current;
// width and height are its client size in pixels.
void InitGLState(const TGameState& g, int width, int height);

// Four vertices with texture coordinates (0,0), (0,t), (t,t), (t,0). Must be
// called inside glBegin(GL_QUADS).
void DrawTexQuad(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3,
                 float x4, float y4, float z4, float t);

// The six faces A to F of the box spanned by the two corners. Must be called
// inside glBegin(GL_QUADS); binds nothing.
void DrawTexBox(float x1, float y1, float z1, float x2, float y2, float z2, float t);

// A box with its own texture binds and glBegin/glEnd: side on faces A to D,
// top on face E (y = y1), bottom on face F (y = y2). Slots index texName.
void DrawBlockCube(const TGameState& g, int side, int top, int bottom, float x1, float y1, float z1, float x2,
                   float y2, float z2, float t);

// Reserves 1000 list names into listIndex and compiles one cube per block
// look. Run once, after the block textures are loaded.
void BuildBlockLists(TGameState& g);

}  // namespace qw
