#pragma once
// "Netzwerkspiel beitreten": the host's address (remembered per user) and
// the code the host's screen shows.
#include <cstdint>
#include <string>

#include <wx/dialog.h>

class wxTextCtrl;

namespace qw {

class TNetJoinDialog : public wxDialog {
public:
    explicit TNetJoinDialog(wxWindow* parent);
    // Modal; true with OK and an address and code that can be used.
    bool Ask();
    std::string HostText() const;
    uint32_t Code() const;

private:
    void OnOk(wxCommandEvent& event);
    wxTextCtrl* host_ = nullptr;
    wxTextCtrl* code_ = nullptr;
};

}  // namespace qw
