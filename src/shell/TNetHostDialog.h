#pragma once
// "Netzwerkspiel eröffnen": which world to play, and the wait for a guest,
// with everything the guest needs to find this game: the computer's
// addresses, the port and the join code. Closes by itself when a guest with
// the code has joined.
#include <memory>
#include <optional>
#include <string>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "net/HostSession.h"

class wxRadioButton;
class wxSpinCtrl;
class wxSpinEvent;
class wxStaticText;

namespace qw {

class TNetHostDialog : public wxDialog {
public:
    // selectedWorld: the start dialog's selected world file, if any;
    // newWorldName: its name for a new world.
    TNetHostDialog(wxWindow* parent, const std::optional<std::string>& selectedWorld, const std::string& newWorldName,
                   net::THostSettings settings);

    // Waits for a guest: true when one has joined. Without the port it shows
    // why and returns false.
    bool WaitForGuest();
    bool PlaySelectedWorld() const;
    std::unique_ptr<net::THostSession> TakeSession() { return std::move(session_); }

private:
    bool Listen(uint16_t port);
    void OnPort(wxSpinEvent& event);
    void OnTimer(wxTimerEvent& event);

    net::THostSettings settings_;
    std::unique_ptr<net::THostSession> session_;
    wxRadioButton* selectedWorld_ = nullptr;
    wxRadioButton* newWorld_ = nullptr;
    wxSpinCtrl* port_ = nullptr;
    wxStaticText* code_ = nullptr;
    wxStaticText* status_ = nullptr;
    wxTimer timer_;
};

}  // namespace qw
