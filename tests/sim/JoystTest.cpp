#include <gtest/gtest.h>

#include "sim/Joyst.h"
#include "support/FakeServices.h"

namespace qw {
namespace {

TJoyCaps FullRange() {
    TJoyCaps c;
    c.xmax = c.ymax = c.zmax = c.rmax = c.umax = 65535;
    return c;
}

TEST(Joystick, AbsentDeviceIsNeverRead) {
    test::FakeServices svc;
    joystick joy;
    JoystickInit(joy, 0, svc);
    EXPECT_FALSE(joy.ok);
    EXPECT_FALSE(joy.initok);
    svc.joystickPresent = true;  // plugged in later: no hot plugging
    svc.joyInfo.xpos = 0;
    JoystickPoll(joy, svc);
    EXPECT_FALSE(joy.ok);
    EXPECT_FALSE(joy.left);
}

TEST(Joystick, OuterQuartersAndButtons) {
    test::FakeServices svc;
    svc.joystickPresent = true;
    svc.joyCaps = FullRange();
    joystick joy;
    JoystickInit(joy, 0, svc);
    ASSERT_TRUE(joy.initok);

    svc.joyInfo = {16382, 49153, 49153, 16382, 49153, 0x21};
    JoystickPoll(joy, svc);
    EXPECT_TRUE(joy.ok);
    EXPECT_TRUE(joy.left);
    EXPECT_FALSE(joy.right);
    EXPECT_TRUE(joy.bottom);
    EXPECT_TRUE(joy.ltpressed);
    EXPECT_TRUE(joy.top2);
    EXPECT_TRUE(joy.right2);
    EXPECT_TRUE(joy.but[0]);
    EXPECT_TRUE(joy.but[5]);
    EXPECT_FALSE(joy.but[1]);

    // q = 16383: the boundary values themselves are neutral.
    svc.joyInfo = {16383, 49152, 32768, 32768, 32768, 1u << 15};
    JoystickPoll(joy, svc);
    EXPECT_FALSE(joy.left);
    EXPECT_FALSE(joy.bottom);
    EXPECT_FALSE(joy.ltpressed);
    for (bool b : joy.but) EXPECT_FALSE(b);  // bit 15 is beyond the 15 buttons
}

TEST(Joystick, FailedPollKeepsOnlyThrottle) {
    test::FakeServices svc;
    svc.joystickPresent = true;
    svc.joyCaps = FullRange();
    joystick joy;
    JoystickInit(joy, 0, svc);
    svc.joyInfo = {0, 0, 65535, 0, 0, 0x7};
    JoystickPoll(joy, svc);
    ASSERT_TRUE(joy.ltpressed);
    svc.joystickPollFails = true;
    JoystickPoll(joy, svc);
    EXPECT_FALSE(joy.ok);
    EXPECT_FALSE(joy.left);
    EXPECT_FALSE(joy.but[0]);
    EXPECT_TRUE(joy.ltpressed);
}

TEST(Joystick, TinyRangeNeverSetsFlags) {
    test::FakeServices svc;
    svc.joystickPresent = true;
    svc.joyCaps.xmin = 10;
    svc.joyCaps.xmax = 13;
    joystick joy;
    JoystickInit(joy, 0, svc);
    for (uint32_t p = 10; p <= 13; ++p) {
        svc.joyInfo.xpos = p;
        JoystickPoll(joy, svc);
        EXPECT_FALSE(joy.left);
        EXPECT_FALSE(joy.right);
    }
}

}  // namespace
}  // namespace qw
