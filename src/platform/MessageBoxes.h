#pragma once
// Modal message boxes.
#include <string>

class wxWindow;

namespace qw {

// The text shown by the standard error box: the message, with a full stop
// appended when its last character's code is above that of the full stop.
std::string StandardErrorText(const std::string& message);

// An error that nothing else caught: error icon, OK, caption "Quaderwelt".
void ShowStandardError(const std::string& message, wxWindow* parent = nullptr);

// An error the game detected itself: error icon, OK, caption "Fehler".
void ShowErrorMessage(const std::string& text, wxWindow* parent = nullptr);

enum class TAnswer { Yes, No, Cancel };
// Question icon with Yes, No and Cancel.
TAnswer AskYesNoCancel(const std::string& text, const std::string& caption, wxWindow* parent = nullptr);

}  // namespace qw
