#pragma once
// Paces the game's frame timer on a fixed grid of ticks. A timer restarted
// after each tick drifts by the time every tick waits to be dispatched; the
// game ran at 48 frames a second that way instead of 50.
#include <chrono>

namespace qw {

class TTickPacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit TTickPacer(Clock::duration interval) : interval_(interval) {}

    // Starts the grid at `now`; returns the wait before the first tick.
    Clock::duration Start(Clock::time_point now);
    // After a tick, the wait before the next one. A tick that came late is
    // followed at once while it is less than a whole interval behind, so the
    // rate holds; further behind (a slow machine, a stall), the grid starts
    // over from now instead of rushing through the ticks it missed.
    Clock::duration Next(Clock::time_point now);

private:
    Clock::duration interval_;
    Clock::time_point due_{};
};

}  // namespace qw
