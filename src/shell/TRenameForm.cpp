#include "shell/TRenameForm.h"

#include <wx/button.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "shell/WxText.h"

namespace qw {

TRenameForm::TRenameForm(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Wx("Welt umbenennen"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    constexpr int kClientWidth = 428, kClientHeight = 215;
    SetClientSize(kClientWidth, kClientHeight);

    new wxStaticText(this, wxID_ANY, Wx("Neuer Name für die Welt:"), wxPoint(8, 8));
    Edit1 = new wxTextCtrl(this, wxID_ANY, wxString(), wxPoint(8, 24), wxSize(409, 21));
    new wxStaticLine(this, wxID_ANY, wxPoint(8, kClientHeight - 50), wxSize(kClientWidth - 16, 2));
    auto* ok = new wxButton(this, wxID_OK, Wx("OK"), wxPoint(176, 176), wxSize(75, 25));
    ok->SetDefault();

    // There is no cancel button: Escape does nothing, the close box is "not OK".
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_INIT_DIALOG, &TRenameForm::FormShow, this);
    Bind(wxEVT_CLOSE_WINDOW, &TRenameForm::OnClose, this);
    Centre();
}

void TRenameForm::FormShow(wxInitDialogEvent&) {
    Edit1->SetFocus();
    Edit1->SelectAll();
}

void TRenameForm::OnClose(wxCloseEvent&) {
    if (IsModal()) EndModal(wxID_CANCEL);
    else Hide();
}

}  // namespace qw
