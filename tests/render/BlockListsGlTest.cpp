// The block lists as GL itself replays them, and the GL state they are drawn
// under.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "RenderScene.h"
#include "render/BlockLook.h"
#include "render/GLState.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

struct TVertex {
    float x, y, z, s, t;
};

class BlockLists : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
    }

    // Replays a list in feedback mode under a projection that maps object
    // coordinates -8 ... 8 onto the 16 x 16 window, and returns the quads it
    // drew. GL hands back each quad as the triangles (1, 2, 4) and (2, 3, 4).
    std::vector<std::array<TVertex, 4>> Replay(GLuint list) {
        glViewport(0, 0, 16, 16);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-8, 8, -8, 8, -8, 8);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_CULL_FACE);
        std::vector<GLfloat> buffer(4096);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glCallList(list);
        const GLint used = glRenderMode(GL_RENDER);
        std::vector<std::array<TVertex, 3>> triangles;
        for (GLint i = 0; i < used;) {
            EXPECT_EQ(buffer[static_cast<size_t>(i)], GL_POLYGON_TOKEN);
            EXPECT_EQ(buffer[static_cast<size_t>(i) + 1], 3.0f);
            std::array<TVertex, 3> tri{};
            for (size_t v = 0; v < 3; ++v) {
                const GLfloat* f = &buffer[static_cast<size_t>(i) + 2 + v * 11];
                // Window x, y, depth; colour; s, t, r, q.
                tri[v] = {f[0] - 8, f[1] - 8, (1 - 2 * f[2]) * 8, f[7], f[8]};
            }
            triangles.push_back(tri);
            i += 2 + 33;
        }
        std::vector<std::array<TVertex, 4>> quads;
        for (size_t i = 0; i + 1 < triangles.size(); i += 2)
            quads.push_back({triangles[i][0], triangles[i][1], triangles[i + 1][1], triangles[i][2]});
        return quads;
    }

    test::OsMesaContext context{16, 16};
    std::unique_ptr<TGameState> g = std::make_unique<TGameState>();
};

TEST_F(BlockLists, EveryListReplaysTheStandardCubeFaceByFace) {
    test::MakeSolidBlockTextures(*g);
    BuildBlockLists(*g);
    // Face A to F of the cube from (0, 4, 0) to (4, 0, 4), each corner's texture
    // coordinates (0,0), (0,1), (1,1), (1,0).
    const float expected[6][4][3] = {
        {{0, 4, 0}, {4, 4, 0}, {4, 0, 0}, {0, 0, 0}}, {{4, 4, 4}, {0, 4, 4}, {0, 0, 4}, {4, 0, 4}},
        {{0, 4, 4}, {0, 4, 0}, {0, 0, 0}, {0, 0, 4}}, {{4, 4, 0}, {4, 4, 4}, {4, 0, 4}, {4, 0, 0}},
        {{0, 4, 4}, {4, 4, 4}, {4, 4, 0}, {0, 4, 0}}, {{0, 0, 0}, {4, 0, 0}, {4, 0, 4}, {0, 0, 4}},
    };
    const float texCoords[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (const TBlockLook& look : kBlockLooks) {
        SCOPED_TRACE(look.listOffset);
        const auto quads = Replay(g->listIndex + static_cast<GLuint>(look.listOffset));
        ASSERT_EQ(quads.size(), 6u);
        for (size_t face = 0; face < 6; ++face)
            for (size_t v = 0; v < 4; ++v) {
                const TVertex& got = quads[face][v];
                EXPECT_NEAR(got.x, expected[face][v][0], 1e-4) << "face " << face << " vertex " << v;
                EXPECT_NEAR(got.y, expected[face][v][1], 1e-4) << "face " << face << " vertex " << v;
                EXPECT_NEAR(got.z, expected[face][v][2], 1e-4) << "face " << face << " vertex " << v;
                EXPECT_EQ(got.s, texCoords[v][0]) << "face " << face << " vertex " << v;
                EXPECT_EQ(got.t, texCoords[v][1]) << "face " << face << " vertex " << v;
            }
    }
    // The other reserved names stay empty.
    EXPECT_TRUE(Replay(g->listIndex + 10).empty());
    EXPECT_TRUE(Replay(g->listIndex + 103).empty());
}

// Looks at one face of a list straight on and returns the colour in the middle.
uint32_t FaceColour(test::OsMesaContext& context, GLuint list, float turnX, float turnY) {
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -8, 8);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(turnX, 1, 0, 0);
    glRotatef(turnY, 0, 1, 0);
    glTranslatef(-2, -2, -2);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(list);
    return test::PixelAt(context.Pixels(), 16, 8, 8);
}

// The texture slots of each cell code, written down apart from the game's
// table: the grass blocks show grass side, grass and dirt; each other block
// one texture; fire and the emerald theirs.
TEST_F(BlockLists, EachCodeShowsItsSideTopAndBottomTextures) {
    struct Row {
        int32_t code;
        int side, top, bottom;
    };
    const Row rows[] = {
        {1, 102, 0, 4}, {2, 1, 1, 1},   {3, 2, 2, 2},       {4, 3, 3, 3},       {5, 4, 4, 4},
        {6, 5, 5, 5},   {7, 6, 6, 6},   {8, 7, 7, 7},       {9, 8, 8, 8},       {10, 102, 0, 4},
        {101, 100, 100, 100},           {102, 101, 101, 101}, {103, 100, 100, 100},
    };
    test::MakeSolidBlockTextures(*g);
    BuildBlockLists(*g);
    InitGLState(*g, 16, 16);
    const GLuint base = g->listIndex;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        const TBlockLook* look = BlockLookOfCode(row.code);
        ASSERT_NE(look, nullptr);
        EXPECT_EQ(look->listOffset, row.code - 1);
        EXPECT_EQ(look->side, row.side);
        EXPECT_EQ(look->top, row.top);
        EXPECT_EQ(look->bottom, row.bottom);
        const GLuint list = base + static_cast<GLuint>(row.code - 1);
        EXPECT_EQ(FaceColour(context, list, 0, 0), test::SolidColourOfSlot(row.side));     // face B, +z
        EXPECT_EQ(FaceColour(context, list, 0, 180), test::SolidColourOfSlot(row.side));   // face A, -z
        EXPECT_EQ(FaceColour(context, list, 0, 90), test::SolidColourOfSlot(row.side));    // face C, -x
        EXPECT_EQ(FaceColour(context, list, 0, -90), test::SolidColourOfSlot(row.side));   // face D, +x
        EXPECT_EQ(FaceColour(context, list, 90, 0), test::SolidColourOfSlot(row.top));     // face E, +y
        EXPECT_EQ(FaceColour(context, list, -90, 0), test::SolidColourOfSlot(row.bottom));  // face F, -y
    }
    for (int32_t code : {0, 11, 100, 104, -1, 0x7fffffff, static_cast<int32_t>(0x80000000)})
        EXPECT_EQ(BlockLookOfCode(code), nullptr) << code;
}

TEST_F(BlockLists, ProjectionFollowsThePlayerCountAndIsSetAfresh) {
    const auto projection = [] {
        std::array<double, 16> m{};
        glGetDoublev(GL_PROJECTION_MATRIX, m.data());
        return m;
    };
    InitGLState(*g, 640, 480);
    InitGLState(*g, 640, 480);  // a second showing must not stack frusta
    std::array<double, 16> one = projection();
    // Near plane 0.2: x scale n / r with r = 0.1 * W / H, y scale n / 0.1.
    EXPECT_NEAR(one[0], 0.2 / (0.1 * 640 / 480), 1e-6);
    EXPECT_NEAR(one[5], 2.0, 1e-6);
    EXPECT_NEAR(one[10], -100.2 / 99.8, 1e-6);
    EXPECT_NEAR(one[14], -2 * 100 * 0.2 / 99.8, 1e-6);
    g->multiplayer = true;
    InitGLState(*g, 640, 480);
    std::array<double, 16> two = projection();
    // Each half view is 640 x 240: twice as wide for its height.
    EXPECT_NEAR(two[0], one[0] / 2, 1e-6);
    EXPECT_NEAR(two[5], 2.0, 1e-6);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

// The parts of the GL state that no picture of opaque blocks shows: texels
// with alpha blend over what is behind them, and back faces are culled.
TEST_F(BlockLists, GlStateBlendsBySourceAlphaAndCullsBackFaces) {
    // A fresh context has neither.
    ASSERT_FALSE(glIsEnabled(GL_BLEND));
    ASSERT_FALSE(glIsEnabled(GL_CULL_FACE));
    InitGLState(*g, 16, 16);
    const auto integer = [](GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    };
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
}

}  // namespace
}  // namespace qw
