// The fast world drawing against the plain one: the same scenes must give the
// same pictures, up to isolated pixels along edges where hidden faces tie in
// depth.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>

#include "RenderScene.h"
#include "render/FastWorld.h"
#include "render/GLState.h"
#include "render/ReferenceWorld.h"
#include "render/Views.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr uint32_t kSky = 0x3333ff;

class WorldPaths : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
        test::BuildTestWorld(g->level);
    }
    void TearDown() override { world.ReleaseGL(); }

    void Prepare(std::initializer_list<int> translucent = {}) {
        test::MakeBlockTextures(*g, translucent);
        BuildBlockLists(*g);
        InitGLState(*g, kWidth, kHeight);
    }

    std::vector<uint8_t> Draw(bool fast) {
        TViewSteps steps;
        steps.cells = [&](int view) {
            if (fast)
                world.DrawCells(*g, view);
            else
                DrawCellsReference(*g, view);
        };
        DrawViews(*g, kWidth, kHeight, steps);
        return context.Pixels();
    }

    // Draws the scene both ways and compares. The fast path is drawn twice so
    // its cached geometry is used as well as freshly built geometry.
    void ExpectSamePicture(const std::string& scene) {
        SCOPED_TRACE(scene);
        const std::vector<uint8_t> reference = Draw(false);
        for (int pass = 0; pass < 2; ++pass) {
            const std::vector<uint8_t> fast = Draw(true);
            const test::TPictureDifference d = test::ComparePictures(reference, fast, kWidth, kHeight);
            EXPECT_LE(d.share, 0.0025) << d.differing << " pixels differ in pass " << pass;
            EXPECT_LE(d.longestRun, 3) << "pass " << pass << ", ending at " << d.runX << "," << d.runY;
            if (d.share > 0.0025 || d.longestRun > 3) SaveBoth(scene);
        }
        int world = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) world += test::PixelAt(reference, kWidth, x, y) != kSky;
        EXPECT_GT(world, kWidth * kHeight / 10) << "the scene shows hardly any world";
    }

    // For looking at a failure: the fast picture is still in the buffer.
    void SaveBoth(std::string scene) {
        for (char& ch : scene)
            if (ch == ' ' || ch == ',') ch = '_';
        context.SavePng(("/tmp/render-" + scene + "-fast.png").c_str());
        Draw(false);
        context.SavePng(("/tmp/render-" + scene + "-reference.png").c_str());
    }

    test::OsMesaContext context{kWidth, kHeight};
    std::unique_ptr<TGameState> g = std::make_unique<TGameState>();
    TFastWorld world;
};

TEST_F(WorldPaths, FirstPersonAroundTheHouses) {
    Prepare();
    struct Pose {
        double x, y, z, heading, pitch;
    };
    const Pose poses[] = {
        {2, 4, 6, 0, 15},      {30, 4, -10, 270, 10}, {-3, 4, -44, 160, 5},  {28, 20, 20, 315, 40},
        {-5, -7, 5, 20, -20},  {7.5, 4, -30, 5, 0},   {14, 8, -28, 180, 89}, {6, 26, -60, 30, 60},
    };
    for (const Pose& p : poses) {
        test::PlaceFirstPlayer(*g, p.x, p.y, p.z, p.heading, p.pitch);
        ExpectSamePicture("first person " + std::to_string(p.x) + "," + std::to_string(p.z));
    }
}

TEST_F(WorldPaths, CamerasBehindAndInFront) {
    Prepare();
    test::PlaceFirstPlayer(*g, 2, 4, 6, 10, 20);
    g->viewmode = 1;
    ExpectSamePicture("behind");
    g->viewmode = 2;
    ExpectSamePicture("in front");
    // The camera inside the pillar, looking down at the faces its opaque
    // neighbours turn to it, from behind the figure and from in front.
    test::PlaceFirstPlayer(*g, -14, 2, -12, 180, 45);
    g->viewmode = 1;
    ExpectSamePicture("behind, inside a pillar");
    test::PlaceFirstPlayer(*g, -14, 2, -12, 0, 45);
    g->viewmode = 2;
    ExpectSamePicture("in front, inside a pillar");
    // The near plane cutting into a pillar just ahead of the eye.
    test::PlaceFirstPlayer(*g, -11.9, 3, -22, 270, 0);
    g->viewmode = 0;
    ExpectSamePicture("near plane in a pillar");
}

TEST_F(WorldPaths, TwoPlayersEachInTheirHalf) {
    g->multiplayer = true;
    Prepare();
    test::PlaceFirstPlayer(*g, 2, 4, 6, 0, 15);
    test::PlaceSecondPlayer(*g, 30, 4, -10, 270, 10);
    ExpectSamePicture("two players");
    g->viewmode = 1;
    test::PlaceSecondPlayer(*g, 380, 4, 2, 90, 5);
    ExpectSamePicture("two players, one at the seam");
}

TEST_F(WorldPaths, AcrossTheSeam) {
    Prepare();
    test::PlaceFirstPlayer(*g, 399, 4, 2, 90, 10);
    ExpectSamePicture("looking across x = 400");
    test::PlaceFirstPlayer(*g, -398, 4, 2, 90, 10);
    ExpectSamePicture("looking back from x = -398");
    test::PlaceFirstPlayer(*g, 2, 4, 402, 180, 10);
    ExpectSamePicture("standing past z = 400");
    test::PlaceFirstPlayer(*g, 399, 4, 399, 135, 25);
    ExpectSamePicture("at the corner of both seams");
}

TEST_F(WorldPaths, TranslucentFireAndEmerald) {
    Prepare({100, 101});
    test::PlaceFirstPlayer(*g, -2, 4, 6, 0, 15);
    ExpectSamePicture("fire ahead");
    test::PlaceFirstPlayer(*g, 20, 4, -30, 300, 10);
    ExpectSamePicture("scattered fire");
    // A wall of fire with blocks both before and after it in the loop.
    for (int x = -6; x <= 6; ++x)
        for (int y = 1; y <= 4; ++y) g->level.at(x, y, -1) = x % 2 ? 101 : 103;
    g->level.at(0, 2, 0) = 2;
    g->level.at(0, 2, -3) = 6;
    test::PlaceFirstPlayer(*g, 1, 4, 14, 0, 10);
    ExpectSamePicture("wall of fire");
    g->viewmode = 2;
    ExpectSamePicture("wall of fire from the other side");
}

// Puts the camera of `viewmode` at world point `eye`, looking along `heading`:
// the figure stands wherever that camera needs it.
void PlaceEye(TGameState& g, int viewmode, const std::array<double, 3>& eye, double heading, double pitch) {
    g.viewmode = viewmode;
    const double angle = viewmode == 2 ? heading - 180 : heading;
    const double a = angle * std::numbers::pi / 180;
    const double ahead = viewmode == 1 ? 10 : viewmode == 2 ? -10 : 0;  // figure ahead of the eye
    test::PlaceFirstPlayer(g, eye[0] + ahead * std::sin(a), eye[1] - 8, eye[2] - ahead * std::cos(a), angle, pitch);
}

TEST_F(WorldPaths, SeeThroughBlockNextToAnEyeAtAWall) {
    Prepare({8});
    // A brick wall with a weapon block in it, and an eye a tenth of a unit
    // from the wall and from the edge of the weapon block, looking up past
    // it. Through the block's clear texels the loop shows what it drew
    // before the block: the brick beside and above it comes later, so sky.
    for (int y = 1; y <= 4; ++y)
        for (int z = -64; z <= -56; ++z) g->level.at(51, y, z) = 3;
    g->level.at(51, 2, -61) = 9;
    // The same wall turned the other way: the block is to the eye's -x side.
    for (int y = 1; y <= 4; ++y)
        for (int z = -64; z <= -56; ++z) g->level.at(45, y, z) = 3;
    g->level.at(45, 2, -61) = 9;
    for (int mode = 0; mode <= 2; ++mode) {
        const std::string camera = "camera " + std::to_string(mode);
        PlaceEye(*g, mode, {203.9, 8.5, -240.1}, 90, -60);
        ExpectSamePicture(camera + ", block to the right");
        PlaceEye(*g, mode, {184.1, 8.5, -240.1}, 270, -60);
        ExpectSamePicture(camera + ", block to the left");
        PlaceEye(*g, mode, {203.9, 8.5, -240.1}, 120, -40);
        ExpectSamePicture(camera + ", looking along the wall");
    }
}

TEST_F(WorldPaths, TranslucentGrassEverywhere) {
    Prepare({102});
    test::PlaceFirstPlayer(*g, 2, 4, 6, 0, 15);
    ExpectSamePicture("see-through grass sides");
}

TEST_F(WorldPaths, CellsChangingBetweenFrames) {
    Prepare({100});
    test::PlaceFirstPlayer(*g, 2, 4, 6, 0, 15);
    Draw(true);
    // Dig, build, burn and empty cells the cached geometry already holds,
    // including cells at chunk borders and at the window's edge.
    g->level.at(0, 0, -2) = 0;
    g->level.at(0, -1, -2) = 0;
    g->level.at(3, 1, -1) = 2;
    g->level.at(3, 2, -1) = 7;
    g->level.at(-5, 0, -6) = 101;
    g->level.at(-4, 0, -6) = 101;
    g->level.at(11, 1, -6) = 3;  // 11 is the first cell of a chunk
    g->level.at(12, 1, -15) = 0;
    g->level.at(20, 0, -15) = 0;
    for (int x = 4; x <= 10; ++x) g->level.at(x, 5, -11) = 0;
    ExpectSamePicture("after edits");
    // Walk a few cells: the window moves under the cache.
    for (int step = 0; step < 6; ++step) {
        test::PlaceFirstPlayer(*g, 2 + 3.7 * step, 4, 6 - 5.3 * step, 20.0 * step, 15);
        ExpectSamePicture("walking step " + std::to_string(step));
    }
    // A new round empties the grid and fills it again.
    g->level.clear();
    for (int x = -100; x <= 100; ++x)
        for (int z = -100; z <= 100; ++z) g->level.at(x, 0, z) = (x + z) % 5 ? 7 : 6;
    ExpectSamePicture("new round");
}

TEST_F(WorldPaths, CodesWithoutABlockListDrawNothing) {
    Prepare();
    test::PlaceFirstPlayer(*g, -3, 4, 2, 0, 10);
    for (int y = 1; y <= 5; ++y) g->level.at(-3, y, -6) = 0;
    g->level.at(-2, 1, -3) = 0;
    const std::vector<uint8_t> withoutReference = Draw(false);
    const std::vector<uint8_t> withoutFast = Draw(true);
    const int32_t strange[] = {11, 100, 104, -1, -7, 0x7fffffff, static_cast<int32_t>(0x80000000)};
    int y = 1;
    for (int32_t code : strange) {
        g->level.at(-3, y, -6) = code;
        g->level.at(-2, 1, -3) = code;
        EXPECT_EQ(Draw(false), withoutReference) << code;
        EXPECT_EQ(Draw(true), withoutFast) << code;
        y = y % 5 + 1;
    }
}

}  // namespace
}  // namespace qw
