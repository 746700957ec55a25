#include "shell/TickPacer.h"

namespace qw {

TTickPacer::Clock::duration TTickPacer::Start(Clock::time_point now) {
    due_ = now + interval_;
    return interval_;
}

TTickPacer::Clock::duration TTickPacer::Next(Clock::time_point now) {
    due_ += interval_;
    if (due_ > now) return due_ - now;
    if (now - due_ >= interval_) due_ = now;
    return Clock::duration::zero();
}

}  // namespace qw
