#pragma once
// The fields of one figure's missile. Both missiles go through the same code;
// a TMissile names which of the record's fields belong to which.
#include <cstdint>

#include "world/GameState.h"

namespace qw {

inline constexpr int kFirstFigure = 0;
inline constexpr int kSecondFigure = 1;

struct TMissile {
    bool& exists;             // flying or burning; no new launch while set
    double& x;                // world point, not negated
    double& y;
    double& z;
    double& dirx;             // movement per sub-step
    double& diry;
    double& dirz;
    bool& einschlag;          // exploded, its fire burns
    int32_t& counteinschlag;  // fire countdown
    double& lastdist;         // emerald distance of the latest explosion, in cells
    bool& showdist;           // the overlay has a distance to show
    int32_t fireCode;         // what its explosion turns cells into
};

// figure: kFirstFigure or kSecondFigure.
TMissile MissileOf(TGameState& state, int figure);

}  // namespace qw
