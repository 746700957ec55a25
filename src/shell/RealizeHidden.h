#pragma once

class wxWindow;

namespace qw {

// Gives a window that has never been shown its native (X) window, without
// mapping it. GLX can only make a context current on a realised window, and
// the game window builds its GL resources while it is still hidden.
// Returns false when the toolkit offers no way to do so.
bool RealizeHidden(wxWindow* window);

}  // namespace qw
