#include "shell/TickPacer.h"

#include <gtest/gtest.h>

namespace qw {
namespace {

using namespace std::chrono_literals;
using Clock = TTickPacer::Clock;

TEST(TickPacer, KeepsItsRateWhateverEachTickWaitedAndNeverRushesAfterAStall) {
    TTickPacer pacer(20ms);
    Clock::time_point now{};
    EXPECT_EQ(pacer.Start(now), 20ms);

    // Every tick is dispatched 0.8 ms late and takes 12 ms: the waits make
    // up for both, so a second still holds 50 ticks.
    int ticks = 0;
    Clock::time_point due = now + 20ms;
    while (due < Clock::time_point{} + 1s + 1ms) {
        now = due + 800us + 12ms;
        ++ticks;
        const Clock::duration wait = pacer.Next(now);
        due = now + wait;
        EXPECT_EQ(wait, 20ms - 12800us) << ticks;
    }
    EXPECT_EQ(ticks, 50);

    // A slow tick (25 ms) is followed at once, and the one after it is back
    // on the grid.
    now = due + 25ms;
    EXPECT_EQ(pacer.Next(now), Clock::duration::zero());
    EXPECT_EQ(pacer.Next(now + 2ms), 13ms);

    // A stall of half a second: one tick at once, then 20 ms steps from there.
    now += 500ms;
    EXPECT_EQ(pacer.Next(now), Clock::duration::zero());
    EXPECT_EQ(pacer.Next(now + 5ms), 15ms);
}

}  // namespace
}  // namespace qw
