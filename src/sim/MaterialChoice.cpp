#include "sim/MaterialChoice.h"

namespace qw {

int32_t StepMaterial(int32_t material, int delta, int32_t top) {
    const int64_t next = static_cast<int64_t>(material) + delta;
    if (next > top) return 0;
    if (next < 0) return top;
    return static_cast<int32_t>(next);
}

int32_t MaterialFromDigits(int32_t material, unsigned digitsHeld, bool creative) {
    for (int digit = 1; digit <= 9; ++digit) {
        if ((digitsHeld & (1u << (digit - 1))) == 0) continue;
        if (digit <= 8) {
            material = digit - 1;
        } else if (!creative) {
            material = kWeapon;
        }
    }
    return material;
}

}  // namespace qw
