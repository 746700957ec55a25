// An Xbox pad as player 2 sees it, through the game's own device code and
// its update phase: the left stick walks, the right stick turns (sideways)
// and tilts the view (forward and back), the left trigger runs, and A, B, X,
// LB and RB dig or fire, place, jump and step the item.
#include <gtest/gtest.h>

#include "support/PadGame.h"

namespace qw {
namespace {

constexpr int16_t kLow = test::kStickLow, kHigh = test::kStickHigh;

class GamepadPlayerTwo : public test::PadGameTest {
protected:
    // Sticks in the middle, triggers and buttons let go.
    void Rest() {
        pad->Rest();
        for (int button = 0; button < test::kXboxButtons; ++button) pad->Button(button, false);
    }
    double WalkForward(int frames) {
        const double x = game.X(), z = game.Z();
        pad->Axis(test::kRawLeftY, kLow);
        game.Frames(services, frames);
        pad->Axis(test::kRawLeftY, 0);
        return game.Travelled(x, z);
    }

};

TEST_F(GamepadPlayerTwo, LeftStickWalksRightStickTurnsAndTilts) {
    Rest();
    EXPECT_GT(WalkForward(5), 0.3);
    EXPECT_EQ(game.s.gangle, 0);
    EXPECT_EQ(game.s.gangle2, 0);
    EXPECT_LT(game.Z(), 0) << "forward is toward -z at heading 0";

    pad->Axis(test::kRawRightX, kHigh);  // right stick to the right: turn right
    game.Frames(services, 3);
    EXPECT_EQ(game.s.gangle, 12);
    EXPECT_EQ(game.s.gangle2, 0);
    pad->Axis(test::kRawRightX, kLow);
    game.Frames(services, 3);
    EXPECT_EQ(game.s.gangle, 0);
    pad->Axis(test::kRawRightX, 0);

    pad->Axis(test::kRawRightY, kLow);  // right stick pushed forward: look down
    game.Frames(services, 2);
    EXPECT_EQ(game.s.gangle2, 8);
    pad->Axis(test::kRawRightY, kHigh);  // pulled back: look up
    game.Frames(services, 4);
    EXPECT_EQ(game.s.gangle2, -8);
    EXPECT_EQ(game.s.gangle, 0);
}

TEST_F(GamepadPlayerTwo, TheLeftTriggerRunsTheRightOneDoesNot) {
    Rest();
    const double walked = WalkForward(5);
    pad->Axis(test::kRawRightTrigger, kHigh);
    const double withRight = WalkForward(5);
    EXPECT_FALSE(game.s.joy1.ltpressed);
    EXPECT_NEAR(withRight, walked, 1e-9);

    pad->Axis(test::kRawRightTrigger, kLow);
    pad->Axis(test::kRawLeftTrigger, kHigh);
    const double ran = WalkForward(5);
    EXPECT_TRUE(game.s.joy1.ltpressed);
    EXPECT_NEAR(ran, 2 * walked, 1e-6);
}

TEST_F(GamepadPlayerTwo, FiveButtonsAct) {
    Rest();
    game.Frames(services, 10);  // landed
    const int32_t start = game.s.gmaterial;

    pad->Button(test::kRawRightShoulder, true);  // RB: next item, once per press
    game.Frames(services, 3);
    EXPECT_EQ(game.s.gmaterial, (start + 1) % 9);
    pad->Button(test::kRawRightShoulder, false);
    pad->Button(test::kRawLeftShoulder, true);  // LB: previous item
    game.Frames(services, 3);
    EXPECT_EQ(game.s.gmaterial, start);
    pad->Button(test::kRawLeftShoulder, false);

    // A and B are read by the view's picking: dig or fire, and place.
    pad->Button(test::kRawA, true);
    game.Frames(services, 1);
    EXPECT_TRUE(game.s.joy1.but[0]);
    EXPECT_FALSE(game.s.joy1.but[1]);
    pad->Button(test::kRawA, false);
    pad->Button(test::kRawB, true);
    game.Frames(services, 1);
    EXPECT_TRUE(game.s.joy1.but[1]);
    EXPECT_FALSE(game.s.joy1.but[0]);
    pad->Button(test::kRawB, false);

    pad->Button(test::kRawX, true);  // X: jump
    game.Frames(services, 1);
    EXPECT_GT(game.s.gjump, 0);

    // Y, Back, Start and the stick clicks do nothing for the game.
    Rest();
    game.Frames(services, 30);
    const double x = game.X(), z = game.Z();
    for (int button : {test::kRawY, test::kRawBack, test::kRawStart, test::kRawGuide, test::kRawLeftStick}) {
        pad->Button(button, true);
    }
    game.Frames(services, 3);
    EXPECT_EQ(game.s.gmaterial, start);
    EXPECT_EQ(game.s.gjump, 0);
    EXPECT_EQ(game.Travelled(x, z), 0);
}

}  // namespace
}  // namespace qw
