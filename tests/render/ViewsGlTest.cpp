// Viewports, cameras and the order of a frame's 3D pass.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "RenderScene.h"
#include "render/Frustum.h"
#include "render/GLState.h"
#include "render/Views.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

std::array<double, 16> Matrix(GLenum which) {
    std::array<double, 16> m{};
    glGetDoublev(which, m.data());
    return m;
}

// The world direction the camera looks along (eye-space -z).
TVec3 Forward(const std::array<double, 16>& m) { return {-m[2], -m[6], -m[10]}; }

void ExpectNear(const TVec3& got, const TVec3& want, const std::string& what) {
    for (size_t a = 0; a < 3; ++a) EXPECT_NEAR(got[a], want[a], 1e-3) << what << " axis " << a;
}

class Views : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context.ok()); }
    test::OsMesaContext context{64, 48};
    std::unique_ptr<TGameState> g = std::make_unique<TGameState>();
};

TEST_F(Views, CameraOfEachModeAndOfTheSecondPlayer) {
    test::PlaceFirstPlayer(*g, 10, 4, -6, 30, 0);
    test::PlaceSecondPlayer(*g, -20, 8, 50, 250, 0);
    const double a = 30 * std::numbers::pi / 180;
    const TVec3 heading{std::sin(a), 0, -std::cos(a)};
    struct Case {
        int view, mode;
        TVec3 eye, forward;
    };
    const Case cases[] = {
        {0, 0, {10, 12, -6}, heading},
        {0, 1, {10 - 10 * heading[0], 12, -6 - 10 * heading[2]}, heading},
        {0, 2, {10 + 10 * heading[0], 12, -6 + 10 * heading[2]}, {-heading[0], 0, -heading[2]}},
        // The second player always looks through its own eyes.
        {1, 2, {-20, 16, 50}, {std::sin(250 * std::numbers::pi / 180), 0, -std::cos(250 * std::numbers::pi / 180)}},
    };
    for (const Case& c : cases) {
        g->viewmode = c.mode;
        SetViewCamera(*g, c.view);
        const std::string what = "view " + std::to_string(c.view) + " mode " + std::to_string(c.mode);
        ExpectNear(EyePoint(Matrix(GL_MODELVIEW_MATRIX)), c.eye, what + " eye");
        ExpectNear(Forward(Matrix(GL_MODELVIEW_MATRIX)), c.forward, what + " direction");
    }
    // A positive pitch looks down.
    g->viewmode = 0;
    g->angle2 = 30;
    SetViewCamera(*g, 0);
    EXPECT_NEAR(Forward(Matrix(GL_MODELVIEW_MATRIX))[1], -0.5, 1e-6);
    // The window of cells centres on Trunc of the world point / 4, whatever
    // the camera: a figure at x = -5 stands in cell -2 but sees around -1.
    test::PlaceFirstPlayer(*g, -5, 4, 403.9, 0, 0);
    g->viewmode = 2;
    const TViewCell c = ViewCell(*g, 0);
    EXPECT_EQ(c.x, -1);
    EXPECT_EQ(c.y, 1);
    EXPECT_EQ(c.z, 100);
}

TEST_F(Views, FramePassRunsItsStepsPerViewInOrder) {
    context.Resize(64, 49);
    g->multiplayer = true;
    InitGLState(*g, 64, 49);
    test::PlaceFirstPlayer(*g, 1, 2, 3, 10, 0);
    test::PlaceSecondPlayer(*g, -7, 2, 9, 200, 0);
    std::vector<std::string> log;
    const auto record = [&](const char* step) {
        return [&log, step](int view) {
            std::array<GLint, 4> vp{};
            glGetIntegerv(GL_VIEWPORT, vp.data());
            log.push_back(std::string(step) + " " + std::to_string(view) + " @" + std::to_string(vp[1]) + "+" +
                          std::to_string(vp[3]));
        };
    };
    TViewSteps steps{record("near"),    record("cells"),    record("pick"),    record("missiles"),
                     record("figures"), record("sighting"), record("overlay"), record("undrawn")};
    TVec3 eyeAtCells[2]{};
    steps.cells = [&, cells = steps.cells](int view) {
        cells(view);
        eyeAtCells[view] = EyePoint(Matrix(GL_MODELVIEW_MATRIX));
    };
    DrawViews(*g, 64, 49, steps);
    const std::vector<std::string> expected = {
        "near 0 @0+24",    "cells 0 @0+24",    "pick 0 @0+24",     "missiles 0 @0+24", "figures 0 @0+24",
        "sighting 0 @0+24", "overlay 0 @0+24", "near 1 @24+24",    "cells 1 @24+24",   "pick 1 @24+24",
        "missiles 1 @24+24", "figures 1 @24+24", "sighting 1 @24+24", "overlay 1 @24+24",
    };
    EXPECT_EQ(log, expected);
    ExpectNear(eyeAtCells[0], {1, 10, 3}, "first player's eye");
    ExpectNear(eyeAtCells[1], {-7, 10, 9}, "second player's eye");
    // With nothing drawn, the picture is the sky.
    const auto& pixels = context.Pixels();
    EXPECT_EQ(test::PixelAt(pixels, 64, 0, 0), 0x3333ffu);
    EXPECT_EQ(test::PixelAt(pixels, 64, 63, 48), 0x3333ffu);

    // A network game shows each computer its own player over the whole
    // window; the other view keeps its place in the order without drawing.
    for (const int own : {0, 1}) {
        log.clear();
        DrawViews(*g, 64, 49, steps, own);
        const std::string o = std::to_string(own), other = std::to_string(1 - own);
        std::vector<std::string> drawn;
        for (const char* step : {"near", "cells", "pick", "missiles", "figures", "sighting", "overlay"})
            drawn.push_back(std::string(step) + " " + o + " @0+49");
        std::vector<std::string> expectedOwn = drawn;
        expectedOwn.insert(own == 0 ? expectedOwn.end() : expectedOwn.begin(), "undrawn " + other + " @0+49");
        EXPECT_EQ(log, expectedOwn) << "own view " << own;
    }
    ExpectNear(eyeAtCells[1], {-7, 10, 9}, "second player's eye over the whole window");
}

TEST_F(Views, FrustumKeepsWhatTheCameraCanSee) {
    InitGLState(*g, 64, 48);
    test::PlaceFirstPlayer(*g, 0, 0, 0, 0, 0);
    SetViewCamera(*g, 0);
    const TFrustum frustum(Matrix(GL_PROJECTION_MATRIX), Matrix(GL_MODELVIEW_MATRIX));
    // The eye is at (0, 8, 0) looking toward -z.
    EXPECT_FALSE(frustum.Excludes({{-1, 7, -20}, {1, 9, -18}}));
    EXPECT_FALSE(frustum.Excludes({{-50, -50, -99}, {50, 50, -90}}));   // partly inside
    EXPECT_TRUE(frustum.Excludes({{-1, 7, 2}, {1, 9, 4}}));             // behind the eye
    EXPECT_TRUE(frustum.Excludes({{-1, 7, -140}, {1, 9, -101}}));       // beyond the far plane
    EXPECT_TRUE(frustum.Excludes({{30, 7, -21}, {34, 9, -20}}));        // off to the right
    EXPECT_TRUE(frustum.Excludes({{-1, 7, -0.19}, {1, 9, -0.05}}));     // before the near plane
    // The near plane's corners lie sqrt(0.2^2 + r^2 + 0.1^2) from the eye.
    const double r = 0.1 * 64 / 48;
    EXPECT_NEAR(NearPlaneReach(Matrix(GL_PROJECTION_MATRIX)), std::sqrt(0.04 + r * r + 0.01), 1e-6);
}

}  // namespace
}  // namespace qw
