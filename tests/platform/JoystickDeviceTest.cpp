#include "platform/JoystickDevice.h"

#include <gtest/gtest.h>

#include <SDL.h>

namespace qw {
namespace {

// SDL's virtual joystick stands in for a real device.
class JoystickDeviceTest : public testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }
};

TEST_F(JoystickDeviceTest, NoDeviceMeansNoCapsAndNoPoll) {
    JoystickDevice device;
    TJoyCaps caps;
    TJoyInfo info;
    EXPECT_FALSE(device.Caps(SDL_NumJoysticks(), caps));
    EXPECT_FALSE(device.Poll(SDL_NumJoysticks(), info));
    EXPECT_FALSE(device.Caps(-1, caps));
}

TEST_F(JoystickDeviceTest, AxesAndButtonsOfAVirtualStick) {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 34, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    JoystickDevice device;

    TJoyCaps caps;
    ASSERT_TRUE(device.Caps(index, caps));
    for (uint32_t max : {caps.xmax, caps.ymax, caps.zmax, caps.rmax, caps.umax}) EXPECT_EQ(max, 65535u);
    for (uint32_t min : {caps.xmin, caps.ymin, caps.zmin, caps.rmin, caps.umin}) EXPECT_EQ(min, 0u);

    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr);
    SDL_JoystickSetVirtualAxis(stick, 0, -32768);
    SDL_JoystickSetVirtualAxis(stick, 1, 32767);
    SDL_JoystickSetVirtualAxis(stick, 2, -1);
    SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(stick, 5, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(stick, 31, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(stick, 33, SDL_PRESSED);  // beyond the mask

    TJoyInfo info;
    ASSERT_TRUE(device.Poll(index, info));
    EXPECT_EQ(info.xpos, 0u);
    EXPECT_EQ(info.ypos, 65535u);
    EXPECT_EQ(info.zpos, 32767u);
    EXPECT_EQ(info.rpos, 32768u);  // the stick has no R and U axes
    EXPECT_EQ(info.upos, 32768u);
    EXPECT_EQ(info.buttons, 0x80000021u);

    // A device only the first Caps opened is ever read.
    EXPECT_FALSE(device.Poll(index + 1, info));

    SDL_JoystickDetachVirtual(index);
    EXPECT_FALSE(device.Poll(index, info));
}

}  // namespace
}  // namespace qw
