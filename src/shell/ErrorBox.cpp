#include "shell/ErrorBox.h"

#include "korland/DynaArray.h"
#include "platform/MessageBoxes.h"

namespace qw {

TErrorBox ErrorBoxFor(const std::exception& error) {
    if (dynamic_cast<const EDynaArrayMemory*>(&error)) return {TErrorBoxKind::NoMemory, error.what()};
    return {TErrorBoxKind::Standard, StandardErrorText(error.what())};
}

void ShowErrorBox(const std::exception& error, wxWindow* parent) {
    const TErrorBox box = ErrorBoxFor(error);
    if (box.kind == TErrorBoxKind::NoMemory) {
        ShowNoMemory(box.text, parent);
    } else {
        ShowStandardError(error.what(), parent);
    }
}

}  // namespace qw
