#pragma once
// Asks for a world's new name. Only its OK button confirms; closing the
// window any other way does not.
#include <wx/dialog.h>

class wxTextCtrl;

namespace qw {

class TRenameForm : public wxDialog {
public:
    explicit TRenameForm(wxWindow* parent);

    wxTextCtrl* Edit1;

private:
    void FormShow(wxInitDialogEvent& event);
    void OnClose(wxCloseEvent& event);
};

}  // namespace qw
