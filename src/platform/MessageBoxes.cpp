#include "platform/MessageBoxes.h"

#include <wx/msgdlg.h>

namespace qw {
namespace {

int ShowBox(const std::string& text, const std::string& caption, long style, wxWindow* parent) {
    wxMessageDialog dialog(parent, wxString::FromUTF8(text), wxString::FromUTF8(caption), style);
    return dialog.ShowModal();
}

}  // namespace

std::string StandardErrorText(const std::string& message) {
    // Compared as unsigned: a text ending in a non-ASCII letter ("Maß") ends
    // in a UTF-8 byte above 0x7F and gets its full stop like "Mass".
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}

void ShowStandardError(const std::string& message, wxWindow* parent) {
    ShowBox(StandardErrorText(message), "Quaderwelt", wxOK | wxICON_ERROR, parent);
}

void ShowErrorMessage(const std::string& text, wxWindow* parent) {
    ShowBox(text, "Fehler", wxOK | wxICON_ERROR, parent);
}

TAnswer AskYesNoCancel(const std::string& text, const std::string& caption, wxWindow* parent) {
    switch (ShowBox(text, caption, wxYES_NO | wxCANCEL | wxICON_QUESTION, parent)) {
        case wxID_YES: return TAnswer::Yes;
        case wxID_NO: return TAnswer::No;
        default: return TAnswer::Cancel;  // closing the box counts as Cancel
    }
}

}  // namespace qw
