#pragma once

namespace qw {

// While it lives, drawing is in window pixels (origin top left) without
// depth test, culling or texturing, as the overlay's texts want; the
// destructor restores the matrices and the three switches.
class TScreenTextPass {
public:
    TScreenTextPass(int W, int H);
    ~TScreenTextPass();
    TScreenTextPass(const TScreenTextPass&) = delete;
    TScreenTextPass& operator=(const TScreenTextPass&) = delete;
};

}  // namespace qw
