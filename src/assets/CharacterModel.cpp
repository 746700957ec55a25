#include "assets/CharacterModel.h"

#include <GL/gl.h>

#include <stdexcept>
#include <string>

#include "assets/Skin.h"

namespace qw {

namespace {

// A box in its own local range; faceShiftY moves its faces into model space
// (body and limbs are built from a common -2 ... 1 height).
struct TBox {
    float x0, y0, z0, x1, y1, z1;
    float faceShiftY;
    int firstOffset;
};

constexpr TBox kHead{-1, -1, -1, 1, 1, 1, 0, 0};
constexpr TBox kBody{-1, -2, -0.5f, 1, 1, 0.5f, -2, 6};
constexpr TBox kArmMinusX{-2, -2, -0.5f, -1, 1, 0.5f, -2, 12};
constexpr TBox kArmPlusX{1, -2, -0.5f, 2, 1, 0.5f, -2, 18};
constexpr TBox kLegMinusX{-1, -2, -0.5f, 0, 1, 0.5f, -5, 24};
constexpr TBox kLegPlusX{0, -2, -0.5f, 1, 1, 0.5f, -5, 30};
constexpr TBox kOverlay{-1.125f, -1.125f, -1.125f, 1.125f, 1.125f, 1.125f, 0, 36};

void DrawFace(const TGameState& g, int32_t texBase, int offset, float shiftY, const TCorner& c1, const TCorner& c2,
              const TCorner& c3, const TCorner& c4) {
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, g.texName[static_cast<size_t>(texBase + offset)]);
    if (shiftY != 0) glTranslatef(0, shiftY, 0);
    glBegin(GL_QUADS);
    DrawSkinQuad(c1, c2, c3, c4, 1.0f);
    glEnd();
    glPopMatrix();
}

// Front, +x side, -x side, top, bottom, back; each wound counter-clockwise
// seen from outside, with its picture upright and unmirrored from there.
void DrawBox(const TGameState& g, int32_t texBase, const TBox& b) {
    const int k = b.firstOffset;
    const float s = b.faceShiftY;
    DrawFace(g, texBase, k + 0, s, {b.x1, b.y0, b.z1}, {b.x1, b.y1, b.z1}, {b.x0, b.y1, b.z1}, {b.x0, b.y0, b.z1});
    DrawFace(g, texBase, k + 1, s, {b.x1, b.y0, b.z0}, {b.x1, b.y1, b.z0}, {b.x1, b.y1, b.z1}, {b.x1, b.y0, b.z1});
    DrawFace(g, texBase, k + 2, s, {b.x0, b.y0, b.z1}, {b.x0, b.y1, b.z1}, {b.x0, b.y1, b.z0}, {b.x0, b.y0, b.z0});
    DrawFace(g, texBase, k + 3, s, {b.x1, b.y1, b.z1}, {b.x1, b.y1, b.z0}, {b.x0, b.y1, b.z0}, {b.x0, b.y1, b.z1});
    DrawFace(g, texBase, k + 4, s, {b.x0, b.y0, b.z1}, {b.x0, b.y0, b.z0}, {b.x1, b.y0, b.z0}, {b.x1, b.y0, b.z1});
    DrawFace(g, texBase, k + 5, s, {b.x0, b.y0, b.z0}, {b.x0, b.y1, b.z0}, {b.x1, b.y1, b.z0}, {b.x1, b.y0, b.z0});
}

// Turns about the shoulder line through (0, -1, 0).
void DrawArm(const TGameState& g, int32_t texBase, const TBox& arm, double angle) {
    glPushMatrix();
    glTranslatef(0, -1, 0);
    glRotatef(static_cast<float>(angle), 1, 0, 0);
    glTranslatef(0, 1, 0);
    DrawBox(g, texBase, arm);
    glPopMatrix();
}

// Turns about the hip line through (0, -4, 0).
void DrawLeg(const TGameState& g, int32_t texBase, const TBox& leg, double angle) {
    glPushMatrix();
    glTranslatef(0, -5, 0);
    glTranslatef(0, 1, 0);
    glRotatef(static_cast<float>(angle), 1, 0, 0);
    glTranslatef(0, 5, 0);
    glTranslatef(0, -1, 0);
    DrawBox(g, texBase, leg);
    glPopMatrix();
}

}  // namespace

void DrawSkinQuad(const TCorner& c1, const TCorner& c2, const TCorner& c3, const TCorner& c4, float r) {
    glTexCoord2f(r, 0);
    glVertex3f(c1.x, c1.y, c1.z);
    glTexCoord2f(r, r);
    glVertex3f(c2.x, c2.y, c2.z);
    glTexCoord2f(0, r);
    glVertex3f(c3.x, c3.y, c3.z);
    glTexCoord2f(0, 0);
    glVertex3f(c4.x, c4.y, c4.z);
}

void DrawCharacterModel(const TGameState& g, int32_t texBase) {
    if (texBase < 0 || static_cast<size_t>(texBase) + kSkinTextureCount > g.texName.size())
        throw std::out_of_range("character model textures at " + std::to_string(texBase));
    DrawBox(g, texBase, kHead);
    DrawBox(g, texBase, kBody);
    DrawArm(g, texBase, kArmMinusX, g.armlinksrot);
    DrawArm(g, texBase, kArmPlusX, g.armrechtsrot);
    DrawLeg(g, texBase, kLegMinusX, g.beinlinksrot);
    DrawLeg(g, texBase, kLegPlusX, g.beinrechtsrot);
    // Last, so its translucent texels blend over the head.
    DrawBox(g, texBase, kOverlay);
}

}  // namespace qw
