#include "platform/JoystickDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace qw {

namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr int32_t kAxisCentre = 32768;
constexpr int kAxisCount = 5;     // X, Y, Z, R, U
constexpr int kButtonCount = 32;  // the width of the button mask

// A gamepad's buttons in the order the game's platform numbers them.
constexpr SDL_GameControllerButton kPadButtons[] = {
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,          SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,       SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
};

// SDL's signed axis moved into the unsigned range of the caps.
uint32_t Unsigned(int32_t sdlAxis) {
    return static_cast<uint32_t>(std::clamp(sdlAxis + kAxisCentre, 0, static_cast<int32_t>(kAxisMax)));
}

std::array<uint8_t, 16> DeviceGuid(int index) {
    const SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(index);
    std::array<uint8_t, 16> bytes;
    static_assert(sizeof guid.data == bytes.size());
    std::memcpy(bytes.data(), guid.data, bytes.size());
    return bytes;
}

}  // namespace

JoystickDevice::JoystickDevice() = default;

JoystickDevice::~JoystickDevice() {
    Close();
    if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool JoystickDevice::Caps(int id, TJoyCaps& caps) {
    if (openId_ < 0) {
        if (!sdlStarted_) {
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
            sdlStarted_ = true;
            // Nobody drains SDL's event queue; the state is read by polling.
            SDL_JoystickEventState(SDL_IGNORE);
            SDL_GameControllerEventState(SDL_IGNORE);
        }
        if (id < 0 || id >= SDL_NumJoysticks()) return false;
        if (!Open(id)) return false;
        followed_ = DeviceGuid(id);
        openId_ = id;
    }
    if (id != openId_) return false;
    caps = TJoyCaps{0, kAxisMax, 0, kAxisMax, 0, kAxisMax, 0, kAxisMax, 0, kAxisMax};
    return true;
}

bool JoystickDevice::Open(int index) {
    if (SDL_IsGameController(index)) {
        controller_ = SDL_GameControllerOpen(index);
        if (controller_ != nullptr) joystick_ = SDL_GameControllerGetJoystick(controller_);
    }
    // Without a mapping, or if the mapping cannot be used, the raw device.
    if (joystick_ == nullptr) joystick_ = SDL_JoystickOpen(index);
    return joystick_ != nullptr;
}

void JoystickDevice::Close() {
    if (controller_ != nullptr) SDL_GameControllerClose(controller_);
    else if (joystick_ != nullptr) SDL_JoystickClose(joystick_);
    controller_ = nullptr;
    joystick_ = nullptr;
}

// A pad that was unplugged (a loose cable, a wireless pad that slept) comes
// back as a new device, perhaps under another index.
bool JoystickDevice::Reopen() {
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (DeviceGuid(index) == followed_) return Open(index);
    }
    return false;
}

bool JoystickDevice::Poll(int id, TJoyInfo& info) {
    if (openId_ < 0 || id != openId_) return false;
    SDL_JoystickUpdate();  // also notices devices that came or went
    if (joystick_ != nullptr && !SDL_JoystickGetAttached(joystick_)) Close();
    if (joystick_ == nullptr && !Reopen()) return false;
    if (controller_ != nullptr) ReadMapped(info);
    else ReadRaw(info);
    return true;
}

void JoystickDevice::ReadMapped(TJoyInfo& info) const {
    auto axis = [this](SDL_GameControllerAxis a) {
        return static_cast<int32_t>(SDL_GameControllerGetAxis(controller_, a));
    };
    info.xpos = Unsigned(axis(SDL_CONTROLLER_AXIS_LEFTX));
    info.ypos = Unsigned(axis(SDL_CONTROLLER_AXIS_LEFTY));
    // Both triggers share one axis, resting in the middle: the left one
    // pulls it up, the right one down.
    const int32_t left = std::max(axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT), 0);
    const int32_t right = std::max(axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT), 0);
    info.zpos = Unsigned(left - right);
    info.rpos = Unsigned(axis(SDL_CONTROLLER_AXIS_RIGHTY));
    info.upos = Unsigned(axis(SDL_CONTROLLER_AXIS_RIGHTX));

    info.buttons = 0;
    for (uint32_t bit = 0; bit < std::size(kPadButtons); ++bit) {
        if (SDL_GameControllerGetButton(controller_, kPadButtons[bit])) info.buttons |= 1u << bit;
    }
}

void JoystickDevice::ReadRaw(TJoyInfo& info) const {
    // An axis the device lacks rests in the centre.
    const int axes = SDL_JoystickNumAxes(joystick_);
    uint32_t position[kAxisCount];
    for (int a = 0; a < kAxisCount; ++a) {
        position[a] = a < axes ? Unsigned(SDL_JoystickGetAxis(joystick_, a)) : static_cast<uint32_t>(kAxisCentre);
    }
    info.xpos = position[0];
    info.ypos = position[1];
    info.zpos = position[2];
    info.rpos = position[3];
    info.upos = position[4];

    info.buttons = 0;
    const int buttons = SDL_JoystickNumButtons(joystick_);
    for (int b = 0; b < buttons && b < kButtonCount; ++b) {
        if (SDL_JoystickGetButton(joystick_, b)) info.buttons |= 1u << b;
    }
}

}  // namespace qw
