#include "render/GLState.h"

#include <GL/gl.h>

#include "render/BlockLook.h"

namespace qw {

void InitGLState(const TGameState& g, int width, int height) {
    // Two players share the height, so each half keeps square pixels.
    const double viewHeight = g.multiplayer ? height / 2.0 : static_cast<double>(height);
    const double r = 0.1 * width / viewHeight;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-r, r, -0.1, 0.1, 0.2, 100.0);
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);

    // Full ambient and a light that adds nothing: faces show their texture
    // unchanged whatever their orientation.
    const GLfloat position[] = {0.0f, 0.0f, 0.0f, 0.1f};
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat black[] = {0.0f, 0.0f, 0.0f, 0.0f};
    const GLfloat specular[] = {0.9f, 0.9f, 0.9f, 0.9f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, black);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glEnable(GL_LIGHT0);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glEnable(GL_CULL_FACE);
}

void DrawTexQuad(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3,
                 float x4, float y4, float z4, float t) {
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x1, y1, z1);
    glTexCoord2f(0.0f, t);
    glVertex3f(x2, y2, z2);
    glTexCoord2f(t, t);
    glVertex3f(x3, y3, z3);
    glTexCoord2f(t, 0.0f);
    glVertex3f(x4, y4, z4);
}

namespace {

void DrawBoxFace(int face, const float (&first)[3], const float (&second)[3], float t) {
    float v[4][3];
    for (int i = 0; i < 4; ++i) {
        const TFaceCorner& c = kBoxFaceCorners[static_cast<size_t>(face)][static_cast<size_t>(i)];
        v[i][0] = c.x ? second[0] : first[0];
        v[i][1] = c.y ? second[1] : first[1];
        v[i][2] = c.z ? second[2] : first[2];
    }
    DrawTexQuad(v[0][0], v[0][1], v[0][2], v[1][0], v[1][1], v[1][2], v[2][0], v[2][1], v[2][2], v[3][0], v[3][1],
                v[3][2], t);
}

}  // namespace

void DrawTexBox(float x1, float y1, float z1, float x2, float y2, float z2, float t) {
    const float first[3] = {x1, y1, z1};
    const float second[3] = {x2, y2, z2};
    for (int face = kFaceA; face < kFaceCount; ++face) DrawBoxFace(face, first, second, t);
}

void DrawBlockCube(const TGameState& g, int side, int top, int bottom, float x1, float y1, float z1, float x2,
                   float y2, float z2, float t) {
    const auto name = [&g](int slot) { return g.texName[static_cast<size_t>(slot)]; };
    if (side == top && side == bottom) {
        glBindTexture(GL_TEXTURE_2D, name(side));
        glBegin(GL_QUADS);
        DrawTexBox(x1, y1, z1, x2, y2, z2, t);
        glEnd();
        return;
    }
    const float first[3] = {x1, y1, z1};
    const float second[3] = {x2, y2, z2};
    glBindTexture(GL_TEXTURE_2D, name(side));
    glBegin(GL_QUADS);
    for (int face = kFaceA; face <= kFaceD; ++face) DrawBoxFace(face, first, second, t);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, name(top));
    glBegin(GL_QUADS);
    DrawBoxFace(kFaceE, first, second, t);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, name(bottom));
    glBegin(GL_QUADS);
    DrawBoxFace(kFaceF, first, second, t);
    glEnd();
}

void BuildBlockLists(TGameState& g) {
    g.listIndex = glGenLists(1000);
    for (const TBlockLook& look : kBlockLooks) {
        glNewList(g.listIndex + static_cast<GLuint>(look.listOffset), GL_COMPILE);
        DrawBlockCube(g, look.side, look.top, look.bottom, 0.0f, 4.0f, 0.0f, 4.0f, 0.0f, 4.0f, 1.0f);
        glEndList();
    }
}

}  // namespace qw
