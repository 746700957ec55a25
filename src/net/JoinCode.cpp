#include "net/JoinCode.h"

#include <algorithm>
#include <cctype>
#include <random>

namespace qw::net {

namespace {
constexpr uint32_t kLowestCode = 100000, kHighestCode = 999999;
constexpr int64_t kFirstPauseMs = 1000, kLongestPauseMs = 16000;
}  // namespace

uint32_t MakeJoinCode() {
    std::random_device source;
    return std::uniform_int_distribution<uint32_t>(kLowestCode, kHighestCode)(source);
}

std::optional<uint32_t> ParseJoinCode(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.size() != 6 || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    return static_cast<uint32_t>(std::stoul(digits));
}

void TWrongCodeBrake::Wrong(int64_t nowMs) {
    const int doublings = std::min(wrongInRow_, 4);
    ++wrongInRow_;
    nextCheckMs_ = nowMs + std::min(kFirstPauseMs << doublings, kLongestPauseMs);
}

}  // namespace qw::net
