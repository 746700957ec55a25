#pragma once
// Stepping through the items: block kinds 0 to 7 and, outside the creative
// mode, the weapon (8).
#include <cstdint>

#include "world/GameState.h"

namespace qw {

inline constexpr int32_t kWeapon = 8;

// The highest selectable item: the creative mode offers no weapon.
inline int32_t TopMaterial(const TGameState& state) {
    return state.modusformKreativCheckchecked ? kWeapon - 1 : kWeapon;
}

// One item on (+1) or back (-1), wrapping round at both ends.
int32_t StepMaterial(int32_t material, int delta, int32_t top);

// The digit keys, tested 1 to 9 (bit d - 1 of digitsHeld for key d): 1 to 8
// choose block kinds 0 to 7, 9 the weapon outside the creative mode; of
// several held keys the last one tested wins.
int32_t MaterialFromDigits(int32_t material, unsigned digitsHeld, bool creative);

}  // namespace qw
