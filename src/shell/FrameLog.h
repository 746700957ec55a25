#pragma once
// With QUADERWELT_FRAME_LOG set in the environment, the game window prints to
// standard error once a second how many frames it drew and how long drawing
// them took, so the frame rate can be watched on a real display.
#include <chrono>
#include <cstdint>
#include <memory>

namespace qw {

class TFrameLog {
public:
    // Null unless the environment asks for the log.
    static std::unique_ptr<TFrameLog> FromEnvironment();

    // Around one frame's work.
    void FrameStarts();
    void FrameEnds();

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point periodStart_ = Clock::now();
    Clock::time_point frameStart_{};
    int frames_ = 0;
    double busyMs_ = 0, longestMs_ = 0;
};

}  // namespace qw
