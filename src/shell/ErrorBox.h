#pragma once
// The box for an error that reached the top of an event handler, a creation
// step or a frame.
#include <exception>
#include <string>

class wxWindow;

namespace qw {

enum class TErrorBoxKind {
    Standard,  // caption "Quaderwelt", a full stop added as the standard box does
    NoMemory,  // the record array's: no caption of its own, the text as it is
};

struct TErrorBox {
    TErrorBoxKind kind;
    std::string text;  // as shown
};

TErrorBox ErrorBoxFor(const std::exception& error);

void ShowErrorBox(const std::exception& error, wxWindow* parent);

}  // namespace qw
