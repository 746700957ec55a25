#pragma once
// How long the other computer has said nothing at all. ENet gives a silent
// peer up only when a resend's timer runs out, and on a slow or jittery link
// those timers double past the 10 s a player is promised; the sessions keep
// this watch beside it.
#include <cstdint>

namespace qw::net {

inline constexpr int64_t kSilenceLimitMs = 10000;

class TSilenceWatch {
public:
    // From now on; `mark` is the peer's ENet receive time, which moves with
    // every datagram from it, acknowledgements included.
    void Start(int64_t nowMs, uint32_t mark) {
        heardMs_ = nowMs;
        mark_ = mark;
    }
    void Heard(int64_t nowMs) { heardMs_ = nowMs; }
    // True once nothing has come for longer than the limit.
    bool Silent(int64_t nowMs, uint32_t mark) {
        if (mark != mark_) {
            mark_ = mark;
            heardMs_ = nowMs;
        }
        return nowMs - heardMs_ > kSilenceLimitMs;
    }

private:
    int64_t heardMs_ = 0;
    uint32_t mark_ = 0;
};

}  // namespace qw::net
