#pragma once
// Joystick 0 through SDL's joystick subsystem. Opened by the first Caps call;
// a device absent then is never looked for again by the game (no hot plugging).
#include "world/JoystickRecord.h"

namespace qw {

class JoystickDevice {
public:
    JoystickDevice();
    ~JoystickDevice();
    JoystickDevice(const JoystickDevice&) = delete;
    JoystickDevice& operator=(const JoystickDevice&) = delete;

    // Axis ranges of device id (axes 0-4 are X, Y, Z, R, U as 0 ... 65535).
    bool Caps(int id, TJoyCaps& caps);
    // Axes and the button mask now.
    bool Poll(int id, TJoyInfo& info);

private:
    void* joystick_ = nullptr;  // SDL_Joystick*
    int openId_ = -1;           // the one device opened; no other is ever read
    bool sdlStarted_ = false;
};

}  // namespace qw
