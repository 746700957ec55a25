// Player 2 on a joystick: the axes and buttons that the keys of the numeric
// pad have as equivalents, and the throttle.
#include <gtest/gtest.h>

#include "SimWorld.h"
#include "sim/Joyst.h"

namespace qw {
namespace {

constexpr uint32_t kCentre = 32768;

class JoystickControls : public test::SimWorld {
protected:
    void SetUp() override {
        s.multiplayer = true;
        svc.joystickPresent = true;
        svc.joyCaps.xmax = svc.joyCaps.ymax = svc.joyCaps.zmax = svc.joyCaps.rmax = svc.joyCaps.umax = 65535;
        JoystickInit(s.joy1, 0, svc);
        Centre();
    }
    void Centre() { svc.joyInfo = {kCentre, kCentre, 0, kCentre, kCentre, 0}; }
};

TEST_F(JoystickControls, SecondStickTurnsAndTiltsTheView) {
    svc.joyInfo.upos = 0;  // U low: turn left
    Frame(2);
    EXPECT_EQ(s.gangle, -8);
    svc.joyInfo.upos = 65535;
    Frame();
    EXPECT_EQ(s.gangle, -4);

    Centre();
    svc.joyInfo.rpos = 65535;  // R high: look up by 4 ...
    Frame();
    EXPECT_EQ(s.gangle2, -4);
    svc.joyInfo.zpos = 65535;  // ... or by 8 with the throttle pushed
    Frame();
    EXPECT_EQ(s.gangle2, -12);
    svc.joyInfo.rpos = 0;  // R low: look down, by 4 whatever the throttle
    Frame();
    EXPECT_EQ(s.gangle2, -8);
    Hold(VK_RETURN);  // RETURN doubles turning and looking down
    Frame();
    EXPECT_EQ(s.gangle2, 0);
    Centre();
    svc.joyInfo.upos = 0;
    Frame();
    EXPECT_EQ(s.gangle, -12);
}

TEST_F(JoystickControls, ButtonsStepTheItemOncePerPressAndJump) {
    s.gmaterial = 0;
    svc.joyInfo.buttons = 1u << 4;  // previous item, held for three frames
    Frame(3);
    EXPECT_EQ(s.gmaterial, 8);
    svc.joyInfo.buttons = 1u << 5;  // next item
    Frame(3);
    EXPECT_EQ(s.gmaterial, 0);
    svc.joyInfo.buttons = 0;
    Frame();
    svc.joyInfo.buttons = 1u << 5;
    Frame();
    EXPECT_EQ(s.gmaterial, 1);

    // A poll that fails hides the buttons: no jump while standing.
    svc.joyInfo.buttons = 1u << 2;
    svc.joystickPollFails = true;
    Frame();
    EXPECT_EQ(s.gjump, 0);
    svc.joystickPollFails = false;
    Frame();
    EXPECT_EQ(s.gjump, 8);
}

}  // namespace
}  // namespace qw
