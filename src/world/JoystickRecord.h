#pragma once
// Plain data of the joystick: what the device reports and the flags the game
// reads. Header only, so the game state record can hold it.
#include <array>
#include <cstdint>

namespace qw {

// Axis ranges of a joystick: minimum and maximum of X, Y, Z, R, U.
struct TJoyCaps {
    uint32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0, zmin = 0, zmax = 0;
    uint32_t rmin = 0, rmax = 0, umin = 0, umax = 0;
};

// One poll of a joystick: the five axis positions and the button mask.
struct TJoyInfo {
    uint32_t xpos = 0, ypos = 0, zpos = 0, rpos = 0, upos = 0;
    uint32_t buttons = 0;
};

struct joystick {
    bool ok = false;      // the last operation on the device succeeded
    bool initok = false;  // capabilities were read at init; no poll without them
    int32_t ID = 0;
    TJoyCaps caps;
    TJoyInfo info;
    std::array<bool, 15> but{};
    bool left2 = false, right2 = false;  // U axis
    bool top2 = false, bottom2 = false;  // R axis
    bool ltpressed = false;              // Z axis (throttle) upper quarter
    bool left = false, right = false;    // X axis
    bool top = false, bottom = false;    // Y axis
};

}  // namespace qw
