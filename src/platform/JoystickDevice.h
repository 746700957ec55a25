#pragma once
// Joystick 0 through SDL. A device SDL knows as a game controller is read
// through SDL's mapping in the layout gamepads have on other desktops; any
// other device in its raw axis and button order. The device opened by the
// first Caps call is followed: unplugged it counts as absent, plugged in
// again it is read again. A device absent then is never looked for.
#include <array>
#include <cstdint>

#include "world/JoystickRecord.h"

// SDL's handle types, so that the game's headers need not include SDL.
typedef struct _SDL_Joystick SDL_Joystick;
typedef struct _SDL_GameController SDL_GameController;

namespace qw {

class JoystickDevice {
public:
    JoystickDevice();
    ~JoystickDevice();
    JoystickDevice(const JoystickDevice&) = delete;
    JoystickDevice& operator=(const JoystickDevice&) = delete;

    // Axis ranges of device id (X, Y, Z, R, U as 0 ... 65535).
    bool Caps(int id, TJoyCaps& caps);
    // Axes and the button mask now.
    bool Poll(int id, TJoyInfo& info);

private:
    bool Open(int index);
    void Close();
    bool Reopen();
    void ReadMapped(TJoyInfo& info) const;
    void ReadRaw(TJoyInfo& info) const;

    SDL_Joystick* joystick_ = nullptr;
    SDL_GameController* controller_ = nullptr;  // set when SDL has a mapping for the device
    std::array<uint8_t, 16> followed_{};  // GUID of the device of the first Caps, to know it again
    int openId_ = -1;              // the id it was opened under; no other is ever read
    bool sdlStarted_ = false;
};

}  // namespace qw
