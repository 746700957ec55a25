#include "platform/MessageBoxes.h"

#include <cstdio>
#include <cstdlib>

#include <wx/msgdlg.h>

namespace qw {
namespace {

void LogBox(const wxString& caption, const wxString& text) {
    const char* wanted = std::getenv("QUADERWELT_MESSAGE_LOG");
    if (!wanted || !*wanted) return;
    wxString line = text;
    line.Replace("\n", "\\n");
    std::fprintf(stderr, "quaderwelt: message box \"%s\": %s\n", caption.utf8_str().data(), line.utf8_str().data());
    std::fflush(stderr);
}

int ShowBox(const std::string& text, const wxString& caption, long style, wxWindow* parent) {
    const wxString shown = wxString::FromUTF8(text);
    LogBox(caption, shown);
    wxMessageDialog dialog(parent, shown, caption, style);
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
    ShowBox(text, wxString::FromUTF8("Fehler"), wxOK | wxICON_ERROR, parent);
}

void ShowNoMemory(const std::string& text, wxWindow* parent) {
    ShowBox(text, wxMessageBoxCaptionStr, wxOK | wxICON_ERROR, parent);
}

void ShowNotice(const std::string& text, wxWindow* parent) {
    ShowBox(text, "Quaderwelt", wxOK | wxICON_INFORMATION, parent);
}

TAnswer AskYesNoCancel(const std::string& text, const std::string& caption, wxWindow* parent) {
    switch (ShowBox(text, wxString::FromUTF8(caption), wxYES_NO | wxCANCEL | wxICON_QUESTION, parent)) {
        case wxID_YES: return TAnswer::Yes;
        case wxID_NO: return TAnswer::No;
        default: return TAnswer::Cancel;  // closing the box counts as Cancel
    }
}

}  // namespace qw
