#pragma once
// Turns a held input into one action per press: the latch remembers whether
// the input was down at the last check.

namespace qw {

// True exactly once per press: when the input is down and was not before.
inline bool PressedOnce(bool down, bool& latch) {
    if (down && !latch) {
        latch = true;
        return true;
    }
    latch = down;
    return false;
}

}  // namespace qw
