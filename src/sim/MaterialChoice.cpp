#include "sim/MaterialChoice.h"

namespace qw {

int32_t StepMaterial(int32_t material, int delta, int32_t top) {
    const int64_t next = static_cast<int64_t>(material) + delta;
    if (next > top) return 0;
    if (next < 0) return top;
    return static_cast<int32_t>(next);
}

}  // namespace qw
