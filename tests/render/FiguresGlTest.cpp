// The figures in the 3D pass: who is drawn in which view, where, which way
// it faces, and how its limbs are set.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "assets/FigureScene.h"
#include "render/Figures.h"

namespace qw {
namespace {

TEST(FigureChoice, WhoIsDrawnInWhichView) {
    auto g = std::make_unique<TGameState>();
    struct Case {
        bool multiplayer, creative;
        int viewmode, view;
        bool first, second;
    } cases[] = {
        {false, false, 0, 0, false, true},  // own eyes: only the opponent
        {false, false, 1, 0, true, true},   // camera behind: the own figure too
        {false, false, 2, 0, true, true},
        {false, true, 0, 0, false, false},  // creative alone: no opponent
        {false, true, 1, 0, true, false},
        {true, true, 0, 0, false, true},    // two players: each sees the other
        {true, true, 0, 1, true, false},
        {true, false, 2, 1, true, false},
    };
    for (const Case& c : cases) {
        g->multiplayer = c.multiplayer;
        g->modusformKreativCheckchecked = c.creative;
        g->viewmode = c.viewmode;
        EXPECT_EQ(DrawsFirstFigure(*g, c.view), c.first) << c.multiplayer << c.creative << c.viewmode << c.view;
        EXPECT_EQ(DrawsSecondFigure(*g, c.view), c.second) << c.multiplayer << c.creative << c.viewmode << c.view;
    }
}

TEST(FigureChoice, ArmAngleFromJumpAndWalk) {
    EXPECT_EQ(FigureArmAngle(3, true, -20), 45);
    EXPECT_EQ(FigureArmAngle(0, true, -20), -20);
    EXPECT_EQ(FigureArmAngle(0, false, -20), 0);
    EXPECT_EQ(FigureArmAngle(-1, true, 12), 12);
}

class FigurePlacement : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scene.context().onSoftwareRenderer()) << scene.context().renderer();
        glGenTextures(static_cast<GLsizei>(g->texName.size()), g->texName.data());
        test::MakeFaceTextures(*g, 300, false);
        test::MakeFaceTextures(*g, 200, false);
    }
    // World x from -16 to 16, y from -4 to 16.
    test::FigureScene scene{16, -4, 16, 10};
    std::unique_ptr<TGameState> g = std::make_unique<TGameState>();
};

TEST_F(FigurePlacement, FiguresStandAtTheirWorldPointsFacingTheirHeadings) {
    g->viewmode = 1;
    g->posx = -10;  // stored negated: the player stands at x = 10
    g->posy = 0;
    g->angle = 180;  // faces +z, towards the viewer
    g->gposx = 10;
    g->gposy = -4;
    g->gangle = 0;  // faces -z, away from the viewer
    scene.Begin(test::kFromFront);
    DrawFigures(*g, 0);
    const auto face = [&](float x, float y) { return test::FaceOf(scene.At(test::kFromFront, x, y, 2)); };
    EXPECT_EQ(face(10, 9), 0);  // head centre 9 above the feet, front seen
    EXPECT_EQ(face(10.5f, 2.1f), 30);  // soles at the feet; the leg at +x on the viewer's right
    EXPECT_EQ(face(9.5f, 2.1f), 24);
    EXPECT_EQ(face(10.5f, 1.9f), -1);
    EXPECT_EQ(face(-10, 13), 5);  // the second figure, 4 higher, shows its back
    EXPECT_EQ(face(-10.5f, 6.1f), 35);  // turned round: its leg at +x on the viewer's left
    EXPECT_EQ(face(-9.5f, 6.1f), 29);
    EXPECT_EQ(face(-9.5f, 5.9f), -1);
}

TEST_F(FigurePlacement, HeadingTurnsTheFrontTowardsIt) {
    g->viewmode = 2;
    g->modusformKreativCheckchecked = true;  // alone: only the own figure
    g->posx = 0;
    g->angle = 90;  // heading (1, 0, 0)
    g->jump = 2;
    scene.Begin(test::kFromPlusX);
    DrawFigures(*g, 0);
    EXPECT_EQ(test::FaceOf(scene.At(test::kFromPlusX, 2, 9, 0)), 0);
    // Jumping swings the limbs by 45 degrees, arm at -x and leg at +x forward.
    EXPECT_EQ(g->armlinksrot, 45);
    EXPECT_EQ(g->armrechtsrot, -45);
    EXPECT_EQ(g->beinlinksrot, -45);
    EXPECT_EQ(g->beinrechtsrot, 45);
}

}  // namespace
}  // namespace qw
