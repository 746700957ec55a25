#pragma once
// The information dialog: program name, version and maker.
#include <wx/dialog.h>

namespace qw {

class TAboutBox : public wxDialog {
public:
    explicit TAboutBox(wxWindow* parent);
};

}  // namespace qw
