#pragma once

namespace qw {

// Asks the application to end. It takes effect when control is back in the
// message loop: the start dialog closes, taking the other windows with it.
void RequestTerminate();

}  // namespace qw
