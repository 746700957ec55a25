#pragma once
#include <cstdint>
#include <random>

namespace qw {

// Source of Random(n): a uniform whole number from 0 to n - 1.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Random(int n) = 0;
};

// The game's one generator. Seeded once from the clock at start-up; tests and
// tools seed it themselves to make the same world twice.
class GameRandom : public RandomSource {
public:
    explicit GameRandom(uint64_t seed) : engine_(seed) {}
    static uint64_t ClockSeed();
    void Seed(uint64_t seed) { engine_.seed(seed); }
    int Random(int n) override;

private:
    std::mt19937_64 engine_;
};

}  // namespace qw
