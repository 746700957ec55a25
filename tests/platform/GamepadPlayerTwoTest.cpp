// An Xbox pad's triggers as player 2 feels them, through the game's own
// device code and its update phase: the left trigger runs, the right one
// does not. (Sticks and buttons are played in the real program by the
// end-to-end gamepad test; the trigger's speed is not to be seen there.)
#include <gtest/gtest.h>

#include "support/PadGame.h"

namespace qw {
namespace {

constexpr int16_t kLow = test::kStickLow, kHigh = test::kStickHigh;

class GamepadPlayerTwo : public test::PadGameTest {
protected:
    double WalkForward(int frames) {
        const double x = game.X(), z = game.Z();
        pad->Axis(test::kRawLeftY, kLow);
        game.Frames(services, frames);
        pad->Axis(test::kRawLeftY, 0);
        return game.Travelled(x, z);
    }
};

TEST_F(GamepadPlayerTwo, TheLeftTriggerRunsTheRightOneDoesNot) {
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

}  // namespace
}  // namespace qw
