#pragma once
// A two-player game whose second player holds a real SDL device (a virtual
// one in the tests): the scripted services, but the joystick is the game's
// own device code, and the frames are the game's update phase.
#include <cmath>
#include <memory>
#include <optional>

#include "platform/JoystickDevice.h"
#include "sim/FrameUpdate.h"
#include "sim/Joyst.h"
#include "support/FakeServices.h"
#include "support/VirtualPads.h"

namespace qw::test {

class RealStickServices : public FakeServices {
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
    void Frames(FakeServices& services, int n) {
        for (int i = 0; i < n; ++i) UpdatePhase(s, services, hooks);
    }
    double X() const { return -s.gposx; }
    double Z() const { return -s.gposz; }
    double Travelled(double fromX, double fromZ) const { return std::hypot(X() - fromX, Z() - fromZ); }
};

// A two-player game whose player 2 has an Xbox pad, plugged in before the
// game started.
class PadGameTest : public SdlJoystickTest {
protected:
    void SetUp() override {
        SdlJoystickTest::SetUp();
        pad.emplace(VirtualPad::Xbox360());
        ASSERT_TRUE(pad->Plugged()) << SDL_GetError();
        JoystickInit(game.s.joy1, pad->Index(), services);
        ASSERT_TRUE(game.s.joy1.initok);
    }
    void TearDown() override {
        pad.reset();
        SdlJoystickTest::TearDown();
    }

    std::optional<VirtualPad> pad;
    TwoPlayerGame game;
    RealStickServices services;
};

}  // namespace qw::test
