// A gamepad pulled out in the middle of a two-player game: SDL's virtual
// joystick is detached while player 2 walks with it. From the next frame on
// the stick counts for nothing (not even its throttle) and player 2 plays on
// with the keyboard, exactly as if there had never been a stick; plugged in
// again, it plays again.
#include <gtest/gtest.h>

#include <cmath>

#include "support/PadGame.h"

namespace qw {
namespace {

using test::TwoPlayerGame;

class JoystickLoss : public test::PadGameTest {
protected:
    // Left stick forward with the throttle (left trigger) pulled and "next
    // item" (RB) held, for five frames: player 2 runs.
    void RunWithThePad() {
        pad->Axis(test::kRawLeftY, test::kStickLow);
        pad->Axis(test::kRawLeftTrigger, test::kStickHigh);
        pad->Button(test::kRawRightShoulder, true);
        game.Frames(services, 5);
        ASSERT_TRUE(game.s.joy1.ok);
    }
};

TEST_F(JoystickLoss, PlayerTwoFallsBackToTheKeyboard) {
    RunWithThePad();
    EXPECT_GT(std::hypot(game.X(), game.Z()), 0.5) << "the stick did not walk";
    EXPECT_EQ(game.s.gmaterial, 1);

    pad->Unplug();
    game.Frames(services, 1);
    const joystick& joy = game.s.joy1;
    EXPECT_FALSE(joy.ok);
    EXPECT_FALSE(joy.top || joy.bottom || joy.left || joy.right || joy.but[5]);

    // From here the game must go on as one that never had a stick.
    TwoPlayerGame keyboardOnly;
    test::FakeServices keyboard;
    for (double TGameState::*field : {&TGameState::gposx, &TGameState::gposy, &TGameState::gposz,
                                      &TGameState::gangle, &TGameState::gangle2})
        keyboardOnly.s.*field = game.s.*field;
    keyboardOnly.s.gmaterial = game.s.gmaterial;
    const double standingX = game.X(), standingZ = game.Z();
    game.Frames(services, 3);
    EXPECT_EQ(game.X(), standingX) << "a lost stick still walks";
    EXPECT_EQ(game.Z(), standingZ);

    for (int key : {VK_UP, VK_NUMPAD4, VK_NUMPAD9}) {
        services.keysHeld = {key};
        keyboard.keysHeld = {key};
        game.Frames(services, 6);
        keyboardOnly.Frames(keyboard, 6);
        SCOPED_TRACE(key);
        EXPECT_EQ(game.X(), keyboardOnly.X());
        EXPECT_EQ(game.Z(), keyboardOnly.Z());
        EXPECT_EQ(game.s.gangle, keyboardOnly.s.gangle);
        EXPECT_EQ(game.s.gmaterial, keyboardOnly.s.gmaterial);
    }
    EXPECT_GT(game.Travelled(standingX, standingZ), 0.5) << "the keyboard does not walk";
    EXPECT_EQ(game.s.gmaterial, 2);
}

// The pad comes back (a loose cable, a wireless pad that slept): from the
// next frame on player 2 plays with it again, as before it went.
TEST_F(JoystickLoss, APadPluggedInAgainPlaysAgain) {
    RunWithThePad();

    pad->Unplug();
    game.Frames(services, 3);
    EXPECT_FALSE(game.s.joy1.ok);
    const double x = game.X(), z = game.Z();
    const int32_t material = game.s.gmaterial;

    pad->PlugIn();
    ASSERT_TRUE(pad->Plugged());
    RunWithThePad();
    EXPECT_TRUE(game.s.joy1.ltpressed);
    EXPECT_GT(game.Travelled(x, z), 0.5) << "the pad plugged in again does not walk";
    EXPECT_EQ(game.s.gmaterial, material + 1);
}

}  // namespace
}  // namespace qw
