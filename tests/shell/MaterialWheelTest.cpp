#include "shell/MaterialWheel.h"

#include <memory>

#include <gtest/gtest.h>

namespace qw {
namespace {

struct WheelCase {
    bool kreativ;
    int32_t before;
    bool down;
    int32_t after;
};

class MaterialWheelTest : public ::testing::TestWithParam<WheelCase> {};

TEST_P(MaterialWheelTest, StepsAndWraps) {
    const WheelCase c = GetParam();
    auto state = std::make_unique<TGameState>();
    state->modusformKreativCheckchecked = c.kreativ;
    state->material = c.before;
    if (c.down) MaterialWheelDown(*state);
    else MaterialWheelUp(*state);
    EXPECT_EQ(state->material, c.after);
}

INSTANTIATE_TEST_SUITE_P(Modes, MaterialWheelTest,
                         ::testing::Values(WheelCase{false, 0, true, 1}, WheelCase{false, 7, true, 8},
                                           WheelCase{false, 8, true, 0},   // the weapon wraps to the first block
                                           WheelCase{true, 6, true, 7}, WheelCase{true, 7, true, 0},
                                           WheelCase{false, 0, false, 8},  // up from the first gives the weapon
                                           WheelCase{true, 0, false, 7},   // creative mode has no weapon
                                           WheelCase{false, 5, false, 4}));

TEST(MaterialWheel, MenuOpenLeavesMaterialAlone) {
    auto state = std::make_unique<TGameState>();
    state->quitmode = true;
    state->material = 8;
    MaterialWheelDown(*state);
    EXPECT_EQ(state->material, 8);
    state->material = 0;
    MaterialWheelUp(*state);
    EXPECT_EQ(state->material, 0);
}

}  // namespace
}  // namespace qw
