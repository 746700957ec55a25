#include "platform/JoystickDevice.h"

#include <SDL.h>

namespace qw {

namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kAxisCentre = 32768;
constexpr int kAxisCount = 5;     // X, Y, Z, R, U
constexpr int kButtonCount = 32;  // the width of the button mask

SDL_Joystick* AsSdl(void* joystick) {
    return static_cast<SDL_Joystick*>(joystick);
}

// SDL's signed axis moved into the unsigned range of the caps; an axis the
// device lacks rests in the centre.
uint32_t AxisPosition(SDL_Joystick* joystick, int axis, int axisCount) {
    if (axis >= axisCount) return kAxisCentre;
    return static_cast<uint32_t>(static_cast<int32_t>(SDL_JoystickGetAxis(joystick, axis)) + 32768);
}

}  // namespace

JoystickDevice::JoystickDevice() = default;

JoystickDevice::~JoystickDevice() {
    if (joystick_ != nullptr) SDL_JoystickClose(AsSdl(joystick_));
    if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool JoystickDevice::Caps(int id, TJoyCaps& caps) {
    if (joystick_ == nullptr) {
        if (!sdlStarted_) {
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
            sdlStarted_ = true;
            // Nobody drains SDL's event queue; the state is read by polling.
            SDL_JoystickEventState(SDL_IGNORE);
        }
        if (id < 0 || id >= SDL_NumJoysticks()) return false;
        joystick_ = SDL_JoystickOpen(id);
        if (joystick_ == nullptr) return false;
        openId_ = id;
    }
    if (id != openId_) return false;
    caps = TJoyCaps{0, kAxisMax, 0, kAxisMax, 0, kAxisMax, 0, kAxisMax, 0, kAxisMax};
    return true;
}

bool JoystickDevice::Poll(int id, TJoyInfo& info) {
    if (joystick_ == nullptr || id != openId_) return false;
    SDL_Joystick* joystick = AsSdl(joystick_);
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick)) return false;

    const int axes = SDL_JoystickNumAxes(joystick);
    uint32_t position[kAxisCount];
    for (int axis = 0; axis < kAxisCount; ++axis) position[axis] = AxisPosition(joystick, axis, axes);
    info.xpos = position[0];
    info.ypos = position[1];
    info.zpos = position[2];
    info.rpos = position[3];
    info.upos = position[4];

    info.buttons = 0;
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int b = 0; b < buttons && b < kButtonCount; ++b) {
        if (SDL_JoystickGetButton(joystick, b)) info.buttons |= 1u << b;
    }
    return true;
}

}  // namespace qw
