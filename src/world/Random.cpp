#include "world/Random.h"

#include <chrono>

namespace qw {

uint64_t GameRandom::ClockSeed() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

}  // namespace qw
