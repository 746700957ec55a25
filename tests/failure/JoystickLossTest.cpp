// A gamepad pulled out in the middle of a two-player game: SDL's virtual
// joystick is detached while player 2 walks with it. From the next frame on
// the stick counts for nothing (not even its throttle) and player 2 plays on
// with the keyboard, exactly as if there had never been a stick; plugged in
// again, it plays again.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <optional>

#include "sim/Joyst.h"
#include "support/PadGame.h"
#include "support/VirtualPads.h"

namespace qw {
namespace {

using test::RealStickServices;
using test::TwoPlayerGame;
using test::VirtualPad;

class JoystickLoss : public testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        pad.emplace(VirtualPad::Xbox360());
        index = pad->Index();
        ASSERT_GE(index, 0) << SDL_GetError();
    }
    void TearDown() override {
        pad.reset();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    // Left stick forward with the throttle (left trigger) pulled and "next
    // item" (RB) held.
    void WalkFastAndNextItem() {
        pad->Axis(test::kRawLeftY, -32768);
        pad->Axis(test::kRawLeftTrigger, 32767);
        pad->Axis(test::kRawRightTrigger, -32768);
        pad->Button(test::kRawRightShoulder, true);
    }

    std::optional<VirtualPad> pad;
    int index = -1;
};

TEST_F(JoystickLoss, PlayerTwoFallsBackToTheKeyboard) {
    TwoPlayerGame withStick;
    RealStickServices stickServices;
    JoystickInit(withStick.s.joy1, index, stickServices);
    ASSERT_TRUE(withStick.s.joy1.initok);

    WalkFastAndNextItem();
    withStick.Frames(stickServices, 5);
    ASSERT_TRUE(withStick.s.joy1.ok);
    EXPECT_GT(std::hypot(withStick.X(), withStick.Z()), 0.5) << "the stick did not walk";
    EXPECT_EQ(withStick.s.gmaterial, 1);

    pad->Unplug();
    withStick.Frames(stickServices, 1);
    const joystick& joy = withStick.s.joy1;
    EXPECT_FALSE(joy.ok);
    EXPECT_FALSE(joy.top || joy.bottom || joy.left || joy.right || joy.but[5]);

    // From here the game must go on as one that never had a stick.
    TwoPlayerGame keyboardOnly;
    test::FakeServices keyboard;
    for (double TGameState::*field : {&TGameState::gposx, &TGameState::gposy, &TGameState::gposz,
                                      &TGameState::gangle, &TGameState::gangle2})
        keyboardOnly.s.*field = withStick.s.*field;
    keyboardOnly.s.gmaterial = withStick.s.gmaterial;
    const double standingX = withStick.X(), standingZ = withStick.Z();
    printf("DBG x=%g z=%g angle=%g\n", standingX, standingZ, withStick.s.gangle);
    withStick.Frames(stickServices, 3);
    EXPECT_EQ(withStick.X(), standingX) << "a lost stick still walks";
    EXPECT_EQ(withStick.Z(), standingZ);

    for (int key : {VK_UP, VK_NUMPAD4, VK_NUMPAD9}) {
        stickServices.keysHeld = {key};
        keyboard.keysHeld = {key};
        withStick.Frames(stickServices, 6);
        keyboardOnly.Frames(keyboard, 6);
        SCOPED_TRACE(key);
        EXPECT_EQ(withStick.X(), keyboardOnly.X());
        EXPECT_EQ(withStick.Z(), keyboardOnly.Z());
        EXPECT_EQ(withStick.s.gangle, keyboardOnly.s.gangle);
        EXPECT_EQ(withStick.s.gmaterial, keyboardOnly.s.gmaterial);
    }
    EXPECT_GT(withStick.Travelled(standingX, standingZ), 0.5) << "the keyboard does not walk";
    EXPECT_EQ(withStick.s.gmaterial, 2);
}

// The pad comes back (a loose cable, a wireless pad that slept): from the
// next frame on player 2 plays with it again, as before it went.
TEST_F(JoystickLoss, APadPluggedInAgainPlaysAgain) {
    TwoPlayerGame game;
    RealStickServices services;
    JoystickInit(game.s.joy1, index, services);
    ASSERT_TRUE(game.s.joy1.initok);
    WalkFastAndNextItem();
    game.Frames(services, 5);
    ASSERT_TRUE(game.s.joy1.ok);

    pad->Unplug();
    game.Frames(services, 3);
    EXPECT_FALSE(game.s.joy1.ok);
    const double x = game.X(), z = game.Z();
    const int32_t material = game.s.gmaterial;

    pad->PlugIn();
    ASSERT_TRUE(pad->Plugged());
    WalkFastAndNextItem();
    game.Frames(services, 5);
    EXPECT_TRUE(game.s.joy1.ok);
    EXPECT_TRUE(game.s.joy1.ltpressed);
    EXPECT_GT(game.Travelled(x, z), 0.5) << "the pad plugged in again does not walk";
    EXPECT_EQ(game.s.gmaterial, material + 1);
}

}  // namespace
}  // namespace qw
