#include "shell/FrameLog.h"

#include <cstdio>
#include <cstdlib>

namespace qw {

std::unique_ptr<TFrameLog> TFrameLog::FromEnvironment() {
    const char* wanted = std::getenv("QUADERWELT_FRAME_LOG");
    if (!wanted || !*wanted) return nullptr;
    return std::make_unique<TFrameLog>();
}

void TFrameLog::FrameStarts() { frameStart_ = Clock::now(); }

void TFrameLog::FrameEnds() {
    const Clock::time_point now = Clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - frameStart_).count();
    ++frames_;
    busyMs_ += ms;
    if (ms > longestMs_) longestMs_ = ms;
    const double periodS = std::chrono::duration<double>(now - periodStart_).count();
    if (periodS < 1.0) return;
    std::fprintf(stderr, "quaderwelt: %.1f frames/s, drawing %.1f ms a frame on average, %.1f ms at most\n",
                 frames_ / periodS, busyMs_ / frames_, longestMs_);
    periodStart_ = now;
    frames_ = 0;
    busyMs_ = longestMs_ = 0;
}

}  // namespace qw
