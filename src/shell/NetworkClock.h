#pragma once
// The sessions' clock, and the short busy spell in which a tick keeps the
// link moving while a world is on its way.
#include <chrono>
#include <cstdint>

namespace qw {

inline int64_t NetworkClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Runs work() and adds its wall time to totalMs: a tick keeps its network
// work (poll, encode, decode, apply) apart from its drawing, so that the
// benchmark can report it.
template <typename Work>
decltype(auto) AddTimeOf(double& totalMs, Work&& work) {
    using Clock = std::chrono::steady_clock;
    struct TAdd {
        double& total;
        Clock::time_point start = Clock::now();
        ~TAdd() { total += std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }
    } add{totalMs};
    return work();
}

// Most of a 20 ms tick, leaving the rest to the window's events.
inline constexpr int64_t kPumpSpellMs = 12;

// Calls poll(waitMs), waiting for traffic a millisecond at a time, while
// busy() holds, for at most one spell.
template <typename Poll, typename Busy>
void PumpWhile(Poll&& poll, Busy&& busy) {
    const int64_t end = NetworkClockMs() + kPumpSpellMs;
    while (busy() && NetworkClockMs() < end) poll(uint32_t{1});
}

}  // namespace qw
