#pragma once
// Where the benchmark cases draw: an off-screen Mesa context whose drawing
// goes to a framebuffer object of the game window's size (RGBA colour,
// 24-bit depth, as the game's window). Drawn into the context's own buffer,
// every glFinish would copy the picture out to client memory, 2 ms at
// 1920 x 1080, which the game never does: its buffer swap hands the picture
// to the X server, which copies it in its own process.
#include "support/OsMesaContext.h"

namespace qw::bench {

class TFrameTarget {
public:
    TFrameTarget(int width, int height);
    ~TFrameTarget();
    TFrameTarget(const TFrameTarget&) = delete;
    TFrameTarget& operator=(const TFrameTarget&) = delete;

    // The context is current and the framebuffer complete and bound.
    bool ok() const { return ok_; }
    void Resize(int width, int height);
    test::OsMesaContext& context() { return context_; }

private:
    test::OsMesaContext context_;
    unsigned framebuffer_ = 0;
    unsigned renderbuffers_[2] = {0, 0};
    bool ok_ = false;
};

}  // namespace qw::bench
