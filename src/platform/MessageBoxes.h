#pragma once
// Modal message boxes. With QUADERWELT_MESSAGE_LOG set in the environment,
// each box is also written to standard error as it opens, caption and text on
// one line, so a script that drives the game can tell what a box says.
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

// The record array's out-of-memory error: error icon, OK, no caption of its
// own (the toolkit's default), the text exactly as given.
void ShowNoMemory(const std::string& text, wxWindow* parent = nullptr);

// Something the player should know: information icon, OK, caption "Quaderwelt".
void ShowNotice(const std::string& text, wxWindow* parent = nullptr);

enum class TAnswer { Yes, No, Cancel };
// Question icon with Yes, No and Cancel.
TAnswer AskYesNoCancel(const std::string& text, const std::string& caption, wxWindow* parent = nullptr);

}  // namespace qw
