#include "sim/Joyst.h"

namespace qw {

void JoystickInit(joystick& joy, int32_t id, GameServices& services) {
    joy.ok = false;
    joy.initok = false;
    joy.but.fill(false);
    joy.left = joy.right = joy.top = joy.bottom = false;
    joy.ltpressed = false;
    joy.ID = id;
    if (services.JoystickCaps(joy.ID, joy.caps)) {
        joy.ok = true;
        joy.initok = true;
    }
}

namespace {
// q is a quarter of the range, in unsigned arithmetic as the device reports it.
uint32_t Quarter(uint32_t lo, uint32_t hi) { return (hi - lo) / 4u; }
bool LowQuarter(uint32_t p, uint32_t lo, uint32_t hi) { return p < lo + Quarter(lo, hi); }
bool HighQuarter(uint32_t p, uint32_t lo, uint32_t hi) { return p > hi - Quarter(lo, hi); }
}  // namespace

void JoystickPoll(joystick& joy, GameServices& services) {
    // ltpressed is deliberately kept: it only changes when a poll succeeds.
    joy.ok = false;
    joy.but.fill(false);
    joy.left = joy.right = joy.top = joy.bottom = false;
    joy.left2 = joy.right2 = joy.top2 = joy.bottom2 = false;
    if (!joy.initok) return;
    if (!services.JoystickPoll(joy.ID, joy.info)) return;
    joy.ok = true;
    for (int n = 0; n < 15; ++n) joy.but[n] = (joy.info.buttons >> n) & 1u;
    const TJoyCaps& c = joy.caps;
    const TJoyInfo& p = joy.info;
    joy.left = LowQuarter(p.xpos, c.xmin, c.xmax);
    joy.right = HighQuarter(p.xpos, c.xmin, c.xmax);
    joy.top = LowQuarter(p.ypos, c.ymin, c.ymax);
    joy.bottom = HighQuarter(p.ypos, c.ymin, c.ymax);
    joy.left2 = LowQuarter(p.upos, c.umin, c.umax);
    joy.right2 = HighQuarter(p.upos, c.umin, c.umax);
    joy.top2 = LowQuarter(p.rpos, c.rmin, c.rmax);
    joy.bottom2 = HighQuarter(p.rpos, c.rmin, c.rmax);
    joy.ltpressed = HighQuarter(p.zpos, c.zmin, c.zmax);
}

}  // namespace qw
