// A gamepad pulled out in the middle of a two-player game: SDL's virtual
// joystick is detached while player 2 walks with it. From the next frame on
// the stick counts for nothing (not even its throttle) and player 2 plays on
// with the keyboard, exactly as if there had never been a stick.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>

#include "platform/JoystickDevice.h"
#include "sim/FrameUpdate.h"
#include "sim/Joyst.h"
#include "sim/Movement.h"
#include "support/FakeServices.h"

namespace qw {
namespace {

// The scripted services, but the joystick is the real SDL device code.
class RealStickServices : public test::FakeServices {
public:
    JoystickDevice device;
    bool JoystickCaps(int id, TJoyCaps& caps) override { return device.Caps(id, caps); }
    bool JoystickPoll(int id, TJoyInfo& info) override { return device.Poll(id, info); }
};

struct TwoPlayerGame {
    std::unique_ptr<TGameState> owner = std::make_unique<TGameState>();
    TGameState& s = *owner;
    UpdateHooks hooks;

    TwoPlayerGame() {
        s.multiplayer = true;
        s.mold = "playing";  // the music check stays quiet
        for (int x = -10; x <= 10; ++x)
            for (int z = -10; z <= 10; ++z) s.level.at(x, 0, z) = kDirt;
        s.posx = -30;  // player 1 on the floor, off to one side
        s.posy = -2.05;
        s.posz = -30;
        s.gposx = 0;  // player 2 standing on the floor's middle
        s.gposy = -2.05;
        s.gposz = 0;
    }
    void Frames(test::FakeServices& services, int n) {
        for (int i = 0; i < n; ++i) UpdatePhase(s, services, hooks);
    }
    double X() const { return -s.gposx; }
    double Z() const { return -s.gposz; }
};

class JoystickLoss : public testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 16, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(index);
        ASSERT_NE(stick, nullptr);
    }
    void TearDown() override {
        if (stick != nullptr) SDL_JoystickClose(stick);
        if (index >= 0 && attached) SDL_JoystickDetachVirtual(index);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    void Detach() {
        SDL_JoystickDetachVirtual(index);
        attached = false;
    }

    int index = -1;
    bool attached = true;
    SDL_Joystick* stick = nullptr;
};

TEST_F(JoystickLoss, PlayerTwoFallsBackToTheKeyboard) {
    TwoPlayerGame withStick;
    RealStickServices stickServices;
    JoystickInit(withStick.s.joy1, index, stickServices);
    ASSERT_TRUE(withStick.s.joy1.initok);

    // Stick forward with the throttle pushed and "next item" held.
    SDL_JoystickSetVirtualAxis(stick, 1, -32768);
    SDL_JoystickSetVirtualAxis(stick, 2, 32767);
    SDL_JoystickSetVirtualButton(stick, 5, SDL_PRESSED);
    withStick.Frames(stickServices, 5);
    ASSERT_TRUE(withStick.s.joy1.ok);
    EXPECT_GT(std::hypot(withStick.X(), withStick.Z()), 0.5) << "the stick did not walk";
    EXPECT_EQ(withStick.s.gmaterial, 1);

    Detach();
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
    EXPECT_NE(withStick.X(), standingX);
    EXPECT_EQ(withStick.s.gmaterial, 2);
}

}  // namespace
}  // namespace qw
