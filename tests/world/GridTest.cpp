#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "world/GameState.h"
#include "world/Grid.h"

namespace qw {
namespace {

int SlowWrap(long long n) {
    while (n < -100) n += 201;
    while (n > 100) n -= 201;
    return static_cast<int>(n);
}

TEST(GridIndex, WrapsLikeRepeatedAdding) {
    EXPECT_EQ(WrapIndex(-101), 100);
    EXPECT_EQ(WrapIndex(101), -100);
    EXPECT_EQ(WrapIndex(302), -100);
    EXPECT_EQ(WrapIndex(-302), 100);
    for (long long n = -2000; n <= 2000; ++n) ASSERT_EQ(WrapIndex(n), SlowWrap(n)) << n;
    // Far-away indices finish at once, without overflow, on the same cell as
    // repeated adding would reach.
    EXPECT_EQ(WrapIndex(std::numeric_limits<int64_t>::max()), -26);
    EXPECT_EQ(WrapIndex(std::numeric_limits<int64_t>::max() - 201), -26);
    EXPECT_EQ(WrapIndex(std::numeric_limits<int64_t>::min()), 25);
    EXPECT_EQ(WrapIndex(std::numeric_limits<int64_t>::min() + 201), 25);
}

TEST(GridLayout, FlatOrderAndByteImage) {
    EXPECT_EQ(kGridBytes, 32482404u);
    EXPECT_EQ(CellOffset(-100, -100, -100), 0u);
    EXPECT_EQ(CellOffset(-100, -100, -99), 1u);
    EXPECT_EQ(CellOffset(-100, -99, -100), 201u);
    EXPECT_EQ(CellOffset(-99, -100, -100), 40401u);
    EXPECT_EQ(CellOffset(100, 100, 100), kGridCells - 1);

    TLevel level;
    level.at(3, -7, 42) = 0x01020304;
    const auto* bytes = reinterpret_cast<const unsigned char*>(level.data());
    std::size_t off = 4 * CellOffset(3, -7, 42);
    // Little-endian byte image, as stored in world files.
    EXPECT_EQ(bytes[off], 0x04);
    EXPECT_EQ(bytes[off + 3], 0x01);
    // The seam: (100, y, z) and (-100, y, z) are neighbours through the wrap.
    EXPECT_EQ(level.wrapped(3 + 201, -7 - 402, 42), 0x01020304);
    level.wrapped(101, 0, 0) = 7;
    EXPECT_EQ(level.at(-100, 0, 0), 7);
    level.clear();
    EXPECT_EQ(level.at(3, -7, 42), 0);
}

TEST(PositionWrap, EdgeResults) {
    EXPECT_EQ(WrapPosition(-400.0), -400.0);
    EXPECT_EQ(WrapPosition(400.0), 400.0);
    EXPECT_EQ(WrapPosition(400.5), -403.5);
    EXPECT_EQ(WrapPosition(-400.5), -400.5);
    EXPECT_EQ(WrapPosition(401.0), -403.0);
    EXPECT_EQ(WrapPosition(1210.0), -398.0);
    EXPECT_EQ(WrapPosition(-404.0), 400.0);
    EXPECT_EQ(WrapPosition(0.25), 0.25);
}

TEST(PositionWrap, HugeAndNonFiniteValuesFinishAtOnce) {
    double big = WrapPosition(1e300);
    EXPECT_TRUE(big > -404.0 && big <= 400.0);
    double small = WrapPosition(-1e300);
    EXPECT_TRUE(small > -404.0 && small <= 400.0);
    // A whole number of periods away lands on the same point.
    EXPECT_EQ(WrapPosition(10.0 + 804.0 * 1000000.0), 10.0);
    EXPECT_TRUE(std::isnan(WrapPosition(std::nan(""))));
    EXPECT_TRUE(std::isinf(WrapPosition(INFINITY)));
}

TEST(Rounding, HalfToEvenAndTrunc) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(TruncTowardZero(-0.9), 0);
    EXPECT_EQ(TruncTowardZero(-4.1), -4);
    EXPECT_EQ(TruncTowardZero(4.9), 4);
    // Out-of-range inputs saturate instead of being undefined.
    EXPECT_GT(TruncTowardZero(1e300), 0);
    EXPECT_LT(RoundHalfEven(-1e300), 0);
    EXPECT_EQ(TruncTowardZero(std::nan("")), 0);
}

TEST(GameStateRecord, StartsZeroedWithEmptyGrid) {
    auto state = std::make_unique<TGameState>();
    EXPECT_EQ(state->leben, 0);
    EXPECT_FALSE(state->quitmode);
    EXPECT_EQ(state->level.at(0, 0, 0), 0);
    EXPECT_EQ(state->level.at(100, 100, 100), 0);
}

}  // namespace
}  // namespace qw
