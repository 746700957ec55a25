#pragma once

namespace qw {

// Asks the GL driver not to wait for the vertical retrace when presenting the
// current context's frame, so a swap never stalls the 20 ms tick. Does
// nothing where the driver offers no swap control.
void RequestSwapIntervalZero();

}  // namespace qw
