#pragma once
// A wait of the guest with a line of status, a progress bar and
// "Abbrechen": reaching the host, the code being checked, the world arriving.
#include <functional>
#include <string>

#include <wx/dialog.h>
#include <wx/timer.h>

class wxGauge;
class wxStaticText;

namespace qw {

struct TWaitState {
    bool done = false;   // the wait is over, for good or bad
    std::string status;
    double share = -1;   // how far, 0 ... 1; below 0 when it cannot be told
};

class TNetWaitDialog : public wxDialog {
public:
    // poll runs every few milliseconds while the dialog is open.
    TNetWaitDialog(wxWindow* parent, std::function<TWaitState()> poll);
    // Modal; true when the wait ended by itself, false after "Abbrechen".
    bool Wait();

private:
    void OnTimer(wxTimerEvent& event);
    std::function<TWaitState()> poll_;
    wxStaticText* status_ = nullptr;
    wxGauge* gauge_ = nullptr;
    wxTimer timer_;
};

}  // namespace qw
