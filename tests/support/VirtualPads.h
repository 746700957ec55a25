#pragma once
// SDL's virtual joysticks in the shapes the game meets: an Xbox 360 pad as
// Linux presents it, which SDL's mapping database knows as a game
// controller, and a stick that SDL knows nothing of. A pad can be unplugged
// and plugged in again as the same device.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace qw::test {

constexpr int16_t kStickLow = INT16_MIN, kStickHigh = INT16_MAX;

// The raw order of an Xbox 360 pad under Linux's xpad driver.
enum XboxRawAxis { kRawLeftX, kRawLeftY, kRawLeftTrigger, kRawRightX, kRawRightY, kRawRightTrigger, kXboxAxes };
enum XboxRawButton {
    kRawA, kRawB, kRawX, kRawY, kRawLeftShoulder, kRawRightShoulder,
    kRawBack, kRawStart, kRawGuide, kRawLeftStick, kRawRightStick, kXboxButtons
};

class VirtualPad {
public:
    static VirtualPad Xbox360() {
        return VirtualPad(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kXboxAxes, kXboxButtons, 1, 0x045e, 0x028e,
                          "Xbox 360 Controller");
    }
    static VirtualPad UnknownStick(int axes, int buttons) {
        return VirtualPad(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons, 0, 0x1234, 0x5678, "Korland Test Stick");
    }

    VirtualPad(VirtualPad&& other) noexcept : desc_(other.desc_), instance_(other.instance_), handle_(other.handle_) {
        other.handle_ = nullptr;
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;
    ~VirtualPad() { Unplug(); }

    // The pad's device index now, or -1 while it is unplugged.
    int Index() const {
        if (handle_ == nullptr) return -1;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == instance_) return i;
        return -1;
    }
    bool Plugged() const { return Index() >= 0; }

    void Unplug() {
        if (handle_ == nullptr) return;
        const int index = Index();
        SDL_JoystickClose(handle_);
        handle_ = nullptr;
        if (index >= 0) SDL_JoystickDetachVirtual(index);
    }
    // The same device again: same name, ids and so the same GUID.
    void PlugIn() {
        if (handle_ != nullptr) return;
        const int index = SDL_JoystickAttachVirtualEx(&desc_);
        if (index < 0) return;
        handle_ = SDL_JoystickOpen(index);
        instance_ = handle_ != nullptr ? SDL_JoystickInstanceID(handle_) : -1;
        if (handle_ != nullptr) Rest();
    }

    void Axis(int axis, int16_t value) { SDL_JoystickSetVirtualAxis(handle_, axis, value); }
    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle_, button, down ? SDL_PRESSED : SDL_RELEASED); }

private:
    // Sticks in the middle, triggers let go, as a real pad comes. (SDL
    // starts some virtual axes at their minimum, which on the Xbox pad's
    // raw order would hold the right stick pushed forward.)
    void Rest() {
        for (int axis = 0; axis < desc_.naxes; ++axis) {
            const bool trigger = IsXbox() && (axis == kRawLeftTrigger || axis == kRawRightTrigger);
            Axis(axis, trigger ? kStickLow : 0);
        }
    }
    bool IsXbox() const { return desc_.type == SDL_JOYSTICK_TYPE_GAMECONTROLLER && desc_.naxes == kXboxAxes; }

    VirtualPad(SDL_JoystickType type, int axes, int buttons, int hats, uint16_t vendor, uint16_t product,
               const char* name) {
        SDL_zero(desc_);
        desc_.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc_.type = static_cast<Uint16>(type);
        desc_.naxes = static_cast<Uint16>(axes);
        desc_.nbuttons = static_cast<Uint16>(buttons);
        desc_.nhats = static_cast<Uint16>(hats);
        desc_.vendor_id = vendor;
        desc_.product_id = product;
        desc_.name = name;
        PlugIn();
    }

    SDL_VirtualJoystickDesc desc_;
    SDL_JoystickID instance_ = -1;
    SDL_Joystick* handle_ = nullptr;
};

// SDL's joystick subsystem for one test, as the game's device code finds it.
class SdlJoystickTest : public testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }
};

}  // namespace qw::test
