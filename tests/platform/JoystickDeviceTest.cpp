#include "platform/JoystickDevice.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <iterator>

#include "support/VirtualPads.h"

namespace qw {
namespace {

using test::VirtualPad;

constexpr int16_t kLow = test::kStickLow, kHigh = test::kStickHigh;

// SDL's virtual joysticks stand in for real devices.
class JoystickDeviceTest : public test::SdlJoystickTest {
protected:
    TJoyInfo Poll(JoystickDevice& device, int id) {
        TJoyInfo info;
        EXPECT_TRUE(device.Poll(id, info));
        return info;
    }
};

TEST_F(JoystickDeviceTest, NoDeviceMeansNoCapsAndNoPoll) {
    JoystickDevice device;
    TJoyCaps caps;
    TJoyInfo info;
    const int absent = SDL_NumJoysticks();
    EXPECT_FALSE(device.Caps(absent, caps));
    EXPECT_FALSE(device.Poll(absent, info));
    EXPECT_FALSE(device.Caps(-1, caps));

    // A device absent at start-up stays unread when one turns up later.
    VirtualPad late = VirtualPad::Xbox360();
    ASSERT_EQ(late.Index(), absent);
    EXPECT_FALSE(device.Poll(absent, info));
}

// A stick SDL has no mapping for is read in its own axis and button order.
TEST_F(JoystickDeviceTest, AnUnknownStickKeepsItsRawOrder) {
    VirtualPad stick = VirtualPad::UnknownStick(3, 34);
    const int index = stick.Index();
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(index));
    JoystickDevice device;

    TJoyCaps caps;
    ASSERT_TRUE(device.Caps(index, caps));
    for (uint32_t max : {caps.xmax, caps.ymax, caps.zmax, caps.rmax, caps.umax}) EXPECT_EQ(max, 65535u);
    for (uint32_t min : {caps.xmin, caps.ymin, caps.zmin, caps.rmin, caps.umin}) EXPECT_EQ(min, 0u);

    stick.Axis(0, kLow);
    stick.Axis(1, kHigh);
    stick.Axis(2, -1);
    for (int button : {0, 5, 31, 33}) stick.Button(button, true);  // 33 is beyond the mask

    const TJoyInfo info = Poll(device, index);
    EXPECT_EQ(info.xpos, 0u);
    EXPECT_EQ(info.ypos, 65535u);
    EXPECT_EQ(info.zpos, 32767u);
    EXPECT_EQ(info.rpos, 32768u);  // the stick has no R and U axes
    EXPECT_EQ(info.upos, 32768u);
    EXPECT_EQ(info.buttons, 0x80000021u);

    // A device only the first Caps opened is ever read.
    TJoyInfo other;
    EXPECT_FALSE(device.Poll(index + 1, other));

    stick.Unplug();
    EXPECT_FALSE(device.Poll(index, other));
}

// An Xbox pad, whose raw order on Linux puts the left trigger third and the
// right stick's horizontal axis fourth, reads as on every other desktop:
// X/Y the left stick, Z the triggers with the left one high, R the right
// stick's vertical and U its horizontal axis; buttons A, B, X, Y, LB, RB,
// Back, Start and the two stick clicks.
TEST_F(JoystickDeviceTest, AGamepadReadsThroughItsMapping) {
    VirtualPad pad = VirtualPad::Xbox360();
    const int index = pad.Index();
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index)) << "SDL's database does not know the pad";
    JoystickDevice device;
    TJoyCaps caps;
    ASSERT_TRUE(device.Caps(index, caps));

    pad.Axis(test::kRawLeftX, kLow);
    pad.Axis(test::kRawLeftY, kHigh);
    pad.Axis(test::kRawRightX, kHigh);
    pad.Axis(test::kRawRightY, kLow);
    pad.Axis(test::kRawLeftTrigger, kLow);  // both triggers let go
    pad.Axis(test::kRawRightTrigger, kLow);
    TJoyInfo info = Poll(device, index);
    EXPECT_EQ(info.xpos, 0u);
    EXPECT_EQ(info.ypos, 65535u);
    EXPECT_EQ(info.upos, 65535u);
    EXPECT_EQ(info.rpos, 0u);
    EXPECT_EQ(info.zpos, 32768u);
    EXPECT_EQ(info.buttons, 0u);

    pad.Axis(test::kRawLeftTrigger, kHigh);
    EXPECT_EQ(Poll(device, index).zpos, 65535u);
    pad.Axis(test::kRawLeftTrigger, kLow);
    pad.Axis(test::kRawRightTrigger, kHigh);
    EXPECT_LE(Poll(device, index).zpos, 1u);
    pad.Axis(test::kRawLeftTrigger, kHigh);  // both: they cancel out
    EXPECT_EQ(Poll(device, index).zpos, 32768u);

    const int rawButtons[] = {test::kRawA, test::kRawB, test::kRawX, test::kRawY, test::kRawLeftShoulder,
                              test::kRawRightShoulder, test::kRawBack, test::kRawStart, test::kRawLeftStick,
                              test::kRawRightStick};
    for (uint32_t bit = 0; bit < std::size(rawButtons); ++bit) {
        pad.Button(rawButtons[bit], true);
        EXPECT_EQ(Poll(device, index).buttons, 1u << bit) << "button " << bit;
        pad.Button(rawButtons[bit], false);
    }
    pad.Button(test::kRawGuide, true);  // the platform's pads have no such button
    EXPECT_EQ(Poll(device, index).buttons, 0u);
}

// Device 0 at start-up is the one followed: pulled out it is absent, plugged
// in again (with a new index perhaps) it is read again; another device that
// turns up meanwhile is not taken for it.
TEST_F(JoystickDeviceTest, ThePadOfTheStartComesBack) {
    VirtualPad pad = VirtualPad::Xbox360();
    const int id = pad.Index();
    ASSERT_GE(id, 0) << SDL_GetError();
    JoystickDevice device;
    TJoyCaps caps;
    ASSERT_TRUE(device.Caps(id, caps));
    pad.Axis(test::kRawLeftX, kLow);
    EXPECT_EQ(Poll(device, id).xpos, 0u);

    pad.Unplug();
    TJoyInfo info;
    EXPECT_FALSE(device.Poll(id, info));
    VirtualPad stranger = VirtualPad::UnknownStick(2, 4);
    EXPECT_FALSE(device.Poll(id, info));
    EXPECT_FALSE(device.Poll(id, info));

    pad.PlugIn();
    ASSERT_TRUE(pad.Plugged());
    pad.Axis(test::kRawLeftX, kHigh);
    pad.Button(test::kRawRightShoulder, true);
    info = Poll(device, id);
    EXPECT_EQ(info.xpos, 65535u);
    EXPECT_EQ(info.buttons, 1u << 5);  // still read through its mapping

    // And again, for a pad that sleeps now and then.
    pad.Unplug();
    EXPECT_FALSE(device.Poll(id, info));
    pad.PlugIn();
    pad.Axis(test::kRawLeftY, kLow);
    EXPECT_EQ(Poll(device, id).ypos, 0u);
}

}  // namespace
}  // namespace qw
