#include "world/Random.h"

#include <chrono>

namespace qw {

uint64_t GameRandom::ClockSeed() {
    return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

int GameRandom::Random(int n) {
    if (n <= 1) return 0;
    // Multiply-shift keeps it uniform enough for a game and is cheap for the
    // world generator's millions of draws.
    uint64_t r = engine_() >> 32;
    return static_cast<int>((r * static_cast<uint64_t>(n)) >> 32);
}

}  // namespace qw
