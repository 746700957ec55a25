#pragma once
// The game speaks German whatever the desktop's language, and so must the
// toolkit's own texts: wxWidgets' stock labels and the browse button, GTK's
// message boxes and file dialog, and the system's error texts.

namespace qw {

// Call once the toolkit is initialised and before any window exists. Only
// the language of messages changes; numbers, the character set of file
// names and every other part of the program's locale stay as they are.
void UseGermanToolkitTexts();

}  // namespace qw
