#pragma once
// The few GLX matters the game window needs beyond what wxGLCanvas offers.

namespace qw {

// Whether the display speaks GLX at all. Asked before anything of GL is
// touched, so a display without it gets a clear message and no toolkit assert.
bool DisplayHasGlx();

// Asks the GL driver not to wait for the vertical retrace when presenting the
// current context's frame, so a swap never stalls the 20 ms tick. Does
// nothing where the driver offers no swap control.
void RequestSwapIntervalZero();

}  // namespace qw
