#pragma once
// Joystick record: turns the raw axes of device 0 into key-like flags (the
// outer quarter of each axis range).
#include <cstdint>

#include "sim/Services.h"

namespace qw {

void JoystickInit(joystick& joy, int32_t id, GameServices& services);
void JoystickPoll(joystick& joy, GameServices& services);

}  // namespace qw
