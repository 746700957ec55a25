#include <gtest/gtest.h>

#include <vector>

#include "SimWorld.h"
#include "sim/Movement.h"

namespace qw {
namespace {

using Movement = test::SimWorld;

TEST_F(Movement, BodySamplesRoundHalvesToEven) {
    const TFigure me = FirstFigure(s);
    // Samples at x = wx - 1 and wx - 3. With wx = 3 they are 2 (cell 0.5 -> 0)
    // and 0; with wx = 7 they are 6 (1.5 -> 2) and 4 (cell 1).
    Place(me, 3, 10, 2);  // y samples 10, 13, 16 -> cells 2, 3, 4; z samples 1, -1 -> cell 0
    s.level.at(1, 2, 0) = kBrick;
    EXPECT_FALSE(BodyTest(s, svc, me));
    s.level.at(0, 2, 0) = kBrick;
    EXPECT_TRUE(BodyTest(s, svc, me));

    s.level.at(0, 2, 0) = kEmpty;
    s.level.at(1, 2, 0) = kEmpty;
    Place(me, 7, 10, 2);
    s.level.at(2, 4, 0) = kBrick;
    EXPECT_TRUE(BodyTest(s, svc, me));
}

TEST_F(Movement, BodyTestSetsFireFlagsAndStuckResult) {
    const TFigure other = SecondFigure(s);
    Place(other, 2, 10, 2);
    s.level.at(0, 3, 0) = kFire2;  // middle height
    EXPECT_TRUE(BodyTest(s, svc, other));
    EXPECT_TRUE(s.gstecktefest);
    EXPECT_TRUE(s.ggetroffen2);
    EXPECT_FALSE(s.ggetroffen);
    EXPECT_FALSE(s.getroffen2);  // the first figure's flags are its own

    s.level.at(0, 3, 0) = kFire1;
    BodyTest(s, svc, other);
    EXPECT_TRUE(s.ggetroffen);
    EXPECT_FALSE(s.ggetroffen2);

    s.level.at(0, 3, 0) = kEmpty;
    EXPECT_FALSE(BodyTest(s, svc, other));
    EXPECT_FALSE(s.gstecktefest);
    EXPECT_FALSE(s.ggetroffen);
}

TEST_F(Movement, BodySamplesWrapAcrossTheSeam) {
    const TFigure me = FirstFigure(s);
    // x samples 402.9 (cell 100.7 -> 101, i.e. -100) and 400.9 (cell 100).
    Place(me, 403.9, 10, 2);
    s.level.at(-100, 2, 0) = kSand;
    EXPECT_TRUE(BodyTest(s, svc, me));
    s.level.at(-100, 2, 0) = kEmpty;
    s.level.at(100, 2, 0) = kSand;
    EXPECT_TRUE(BodyTest(s, svc, me));
    s.level.at(100, 2, 0) = kEmpty;
    EXPECT_FALSE(BodyTest(s, svc, me));

    // A billion world periods away the samples land in the same cells.
    s.level.at(0, 2, 0) = kSand;
    Place(me, 804e9 + 2, 10, 2);
    EXPECT_TRUE(BodyTest(s, svc, me));
}

TEST_F(Movement, EmeraldEndsTheRoundOnlyInSearchMode) {
    const TFigure other = SecondFigure(s);
    Place(other, 2, 10, 2);
    s.level.at(0, 2, 0) = kEmerald;

    s.modusformFightCheckchecked = true;
    EXPECT_TRUE(BodyTest(s, svc, other));
    EXPECT_FALSE(s.emeraldfound);
    s.modusformFightCheckchecked = false;
    s.modusformKreativCheckchecked = true;
    EXPECT_TRUE(BodyTest(s, svc, other));
    EXPECT_FALSE(s.emeraldfound);

    s.modusformKreativCheckchecked = false;
    svc.geometry = {100, 40, 800, 600, 800, 600};
    svc.cursorVisible = false;
    EXPECT_TRUE(BodyTest(s, svc, other));
    EXPECT_TRUE(s.emeraldfound);
    EXPECT_TRUE(s.quitmode);
    EXPECT_EQ(s.playerwin, 1);
    EXPECT_TRUE(svc.cursorVisible);
    EXPECT_EQ(svc.cursor, (TPoint{500, 190}));
    EXPECT_EQ(s.level.at(0, 2, 0), kEmerald);  // touching leaves it in place
    // The four samples of the lowest level lie in the emerald's cell, and
    // each one runs the round end.
    int wins = 0;
    for (const auto& c : svc.soundCommands) wins += c == "play gewonnen from 0";
    EXPECT_EQ(wins, 4);
}

TEST_F(Movement, WalkStopsShortOfAWall) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    // Facing -z. The sample at wz - 3 enters cell z = -3 once wz - 3 < -10
    // (-10 / 4 = -2.5 still rounds to -2).
    for (int x = -10; x <= 10; ++x) s.level.at(x, 1, -3) = kBrick;
    Hold('W');
    Frame(12);
    EXPECT_GE(WorldZ(me), -7.0 - 1e-9);
    EXPECT_LT(WorldZ(me), -6.9 + 1e-9);
    EXPECT_DOUBLE_EQ(WorldX(me), 2.0);
    EXPECT_DOUBLE_EQ(WorldY(me), kStandY);
}

TEST_F(Movement, WalkMovesElevenSubStepsAlongTheHeading) {
    const TFigure me = FirstFigure(s);
    Place(me, 2, 40, 2);
    me.angle = 90;  // facing +x
    WalkStep(s, svc, me, false, false, 0.1);
    EXPECT_NEAR(WorldX(me), 3.1, 1e-9);
    EXPECT_NEAR(WorldZ(me), 2.0, 1e-9);
    WalkStep(s, svc, me, true, true, -0.1);  // strafe left, fast: heading 180 backwards
    EXPECT_NEAR(WorldX(me), 3.1, 1e-9);
    EXPECT_NEAR(WorldZ(me), 2.0 - 2.2, 1e-9);
    EXPECT_TRUE(s.splaufe);
}

TEST_F(Movement, SwingSequences) {
    const TFigure me = FirstFigure(s);
    Place(me, 2, 40, 2);
    std::vector<double> normal, fast;
    for (int i = 0; i < 14; ++i) {
        WalkStep(s, svc, me, false, false, 0.1);
        normal.push_back(s.sparmlinksrot);
    }
    EXPECT_EQ(normal, (std::vector<double>{15, 30, 45, 45, 30, 15, 0, -15, -30, -45, -45, -30, -15, 0}));

    const TFigure other = SecondFigure(s);
    Place(other, 2, 80, 2);
    for (int i = 0; i < 8; ++i) {
        WalkStep(s, svc, other, false, true, 0.1);
        fast.push_back(s.garmlinksrot);
    }
    EXPECT_EQ(fast, (std::vector<double>{30, 45, 15, -15, -45, -45, -15, 15}));
    EXPECT_EQ(s.sparmlinksrot, 0);  // each figure swings its own limbs
}

TEST_F(Movement, StandingDoesNotMoveAndFallingIsElevenTenths) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    EXPECT_TRUE(JumpGravityStep(s, svc, me));
    EXPECT_EQ(WorldY(me), kStandY);

    Place(me, 2, 60, 2);
    Frame();
    EXPECT_NEAR(WorldY(me), 58.9, 1e-9);
    Frame();
    EXPECT_NEAR(WorldY(me), 57.8, 1e-9);
    Frame(60);
    // Landed: the lowest position whose samples stay out of the floor's cell.
    EXPECT_GT(WorldY(me), 2.0);
    EXPECT_LE(WorldY(me), 2.1 + 1e-9);
}

TEST_F(Movement, JumpRisesEightFramesThenFalls) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    Hold(VK_SPACE);
    Frame();  // standing: the jump starts
    EXPECT_EQ(s.jump, 8);
    EXPECT_EQ(WorldY(me), kStandY);
    Release(VK_SPACE);
    for (int i = 1; i <= 8; ++i) {
        Frame();
        EXPECT_NEAR(WorldY(me), kStandY + i, 1e-9);
    }
    EXPECT_EQ(s.jump, 0);
    Frame();
    EXPECT_NEAR(WorldY(me), kStandY + 8 - 1.1, 1e-9);
    Frame(10);
    EXPECT_LE(WorldY(me), 2.1 + 1e-9);  // back on the floor
    EXPECT_GT(WorldY(me), 2.0);
}

TEST_F(Movement, HoldingJumpHopsAgainOnLanding) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    Hold(VK_SPACE);
    int starts = 0;
    for (int i = 0; i < 40; ++i) {
        Frame();
        starts += s.jump == 8;
    }
    EXPECT_GE(starts, 2);
}

TEST_F(Movement, KnockBackRisesAndSlidesUnlessBlocked) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    s.tjump = 8;
    s.tdirx = 0.6;
    s.tdirz = 0.8;
    Frame();
    EXPECT_EQ(s.tjump, 7);
    EXPECT_NEAR(WorldX(me), 5, 1e-9);
    EXPECT_NEAR(WorldZ(me), 6, 1e-9);
    EXPECT_NEAR(WorldY(me), kStandY + 2 - 1.1, 1e-9);  // rose 2, then sank 1.1

    // A wall in the way: the slide is undone, the rise stays.
    Place(me, 2, kStandY, 2);
    for (int z = -10; z <= 10; ++z) s.level.at(1, 1, z) = kBrick;
    Frame();
    EXPECT_EQ(s.tjump, 6);
    EXPECT_DOUBLE_EQ(WorldX(me), 2);
    EXPECT_DOUBLE_EQ(WorldZ(me), 2);
    EXPECT_NEAR(WorldY(me), kStandY + 2 - 1.1, 1e-9);
}

TEST_F(Movement, StuckFigureStandsSwingsAndJumpsOut) {
    const TFigure me = FirstFigure(s);
    Place(me, 2, 6, 2);  // samples at y 6, 9, 12 -> cells 2 (1.5), 2, 3
    s.level.at(0, 2, 0) = kWood;
    Hold('W');
    Frame();
    EXPECT_DOUBLE_EQ(WorldZ(me), 2);  // no move at all
    EXPECT_DOUBLE_EQ(WorldY(me), 6);  // does not fall either
    EXPECT_TRUE(s.splaufe);
    EXPECT_EQ(s.sparmlinksrot, 15);
    Release('W');
    Hold(VK_SPACE);
    Frame();
    Release(VK_SPACE);
    Frame(8);
    EXPECT_NEAR(WorldY(me), 14, 1e-9);  // the rise is not tested against cells
}

TEST_F(Movement, WalkingAcrossTheSeamKeepsTheFloor) {
    // A strip of floor across x = 400 / -400 (cells 95 ... 100 and -100 ... -95).
    for (int x = 95; x <= 105; ++x)
        for (int z = -2; z <= 2; ++z) s.level.wrapped(x, 0, z) = kDirt;
    const TFigure me = FirstFigure(s);
    Place(me, 396, kStandY, 2);
    me.angle = 90;  // facing +x
    Hold('W');
    Frame(9);  // 9.9 units: across world x = 404, wrapped at the start of the ninth frame
    EXPECT_NEAR(WorldY(me), kStandY, 1e-9);
    EXPECT_LT(WorldX(me), -390);  // wrapped to the other side
    EXPECT_GE(WorldX(me), -400);
}

}  // namespace
}  // namespace qw
