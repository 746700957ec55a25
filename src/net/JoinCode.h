#pragma once
// The six-digit code that keeps strangers out of a hosted game, and the brake
// that makes guessing it slow.
#include <cstdint>
#include <optional>
#include <string>

namespace qw::net {

// A fresh code from the system's random source, 100000 ... 999999.
uint32_t MakeJoinCode();

// A code as the guest typed it: six digits, blanks around them allowed.
std::optional<uint32_t> ParseJoinCode(const std::string& text);

// After each wrong code the next one is looked at only later: 1 s after the
// first, then 2, 4, 8 and at most 16 s, so that trying all codes would take
// years. A right code releases the brake.
class TWrongCodeBrake {
public:
    bool MayCheck(int64_t nowMs) const { return nowMs >= nextCheckMs_; }
    void Wrong(int64_t nowMs);
    void Right() { wrongInRow_ = 0, nextCheckMs_ = 0; }
    int64_t nextCheckMs() const { return nextCheckMs_; }

private:
    int wrongInRow_ = 0;
    int64_t nextCheckMs_ = 0;
};

}  // namespace qw::net
