#pragma once
// What the world and the simulation need from the platform. The game passes
// the real services (platform/); tests pass a scripted fake.
#include <cstdint>
#include <string>

#include "world/JoystickRecord.h"
#include "sim/VirtualKeys.h"
#include "world/Point.h"
#include "world/Random.h"

namespace qw {

struct TWindowGeometry {
    int left = 0, top = 0, width = 0, height = 0;  // screen pixels
    int clientWidth = 0, clientHeight = 0;
};

class GameServices : public RandomSource {
public:
    // Sends a sound command text; the reply (for "status") goes to *reply.
    virtual void SoundCommand(const std::string& command, std::string* reply = nullptr) = 0;

    virtual bool KeyHeld(VirtualKey key) = 0;
    virtual TPoint CursorPos() = 0;
    virtual void SetCursorPos(int x, int y) = 0;
    // A state, not a counter: the cursor is visible exactly while shown.
    virtual void ShowCursor(bool show) = 0;
    virtual bool WindowHasFocus() = 0;
    virtual TWindowGeometry WindowGeometry() = 0;
    // Milliseconds since some fixed start; 64-bit so it never wraps.
    virtual int64_t TickCount() = 0;

    virtual bool JoystickCaps(int id, TJoyCaps& caps) = 0;
    virtual bool JoystickPoll(int id, TJoyInfo& info) = 0;
};

}  // namespace qw
