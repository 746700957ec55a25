#include "sim/MissileRecord.h"

namespace qw {

TMissile MissileOf(TGameState& s, int figure) {
    if (figure == kFirstFigure) {
        return {.exists = s.missle, .x = s.misslex, .y = s.missley, .z = s.misslez,
                .dirx = s.missledirx, .diry = s.misslediry, .dirz = s.missledirz,
                .einschlag = s.einschlag, .counteinschlag = s.counteinschlag,
                .lastdist = s.lastdist, .showdist = s.showdist, .fireCode = kFire1};
    }
    return {.exists = s.gmissle, .x = s.gmisslex, .y = s.gmissley, .z = s.gmisslez,
            .dirx = s.gmissledirx, .diry = s.gmisslediry, .dirz = s.gmissledirz,
            .einschlag = s.geinschlag, .counteinschlag = s.gcounteinschlag,
            .lastdist = s.glastdist, .showdist = s.gshowdist, .fireCode = kFire2};
}

}  // namespace qw
