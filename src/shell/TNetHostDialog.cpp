#include "shell/TNetHostDialog.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "net/HostAddress.h"
#include "platform/MessageBoxes.h"
#include "platform/Settings.h"
#include "shell/NetworkClock.h"
#include "shell/WxText.h"

namespace qw {

namespace {
constexpr char kPortKey[] = "NetworkPort";
constexpr int kPollIntervalMs = 10;
constexpr int kLowestPort = 1024;

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text.empty() ? "(keine)" : text;
}

uint16_t RememberedPort() {
    const std::string text = LoadSetting(kPortKey);
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return net::kDefaultPort;
    const unsigned long port = std::stoul(text);
    return port >= kLowestPort && port <= 65535 ? static_cast<uint16_t>(port) : net::kDefaultPort;
}

}  // namespace

TNetHostDialog::TNetHostDialog(wxWindow* parent, const std::optional<std::string>& selectedWorld,
                               const std::string& newWorldName, net::THostSettings settings)
    : wxDialog(parent, wxID_ANY, Wx("Netzwerkspiel eröffnen")), settings_(std::move(settings)), timer_(this) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    const auto add = [&](wxWindow* w, int border = 8) { column->Add(w, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP, border)); };

    selectedWorld_ = new wxRadioButton(this, wxID_ANY, Wx("Ausgesuchte Welt spielen: " + selectedWorld.value_or("(keine)")),
                                       wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    newWorld_ = new wxRadioButton(this, wxID_ANY, Wx("Neue Welt spielen: " + newWorldName));
    selectedWorld_->Enable(selectedWorld.has_value());
    (selectedWorld ? selectedWorld_ : newWorld_)->SetValue(true);
    add(selectedWorld_, 12);
    add(newWorld_);

    auto* waiting = new wxStaticText(this, wxID_ANY, Wx("Warte auf einen Mitspieler …"));
    waiting->SetFont(waiting->GetFont().Bold());
    add(waiting, 16);
    add(new wxStaticText(this, wxID_ANY, Wx("Adressen dieses Computers:\n" + JoinedLines(net::LocalIPv4Addresses()))));

    auto* portRow = new wxBoxSizer(wxHORIZONTAL);
    portRow->Add(new wxStaticText(this, wxID_ANY, Wx("Port:")), wxSizerFlags().Center().Border(wxRIGHT, 8));
    port_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                           kLowestPort, 65535, RememberedPort());
    portRow->Add(port_);
    column->Add(portRow, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP, 8));

    code_ = new wxStaticText(this, wxID_ANY, Wx("Code: ------"));
    code_->SetFont(code_->GetFont().Bold().Scaled(1.6f));
    add(code_, 12);
    status_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
    add(status_);

    column->Add(new wxButton(this, wxID_CANCEL, Wx("Abbrechen")), wxSizerFlags().Right().Border(wxALL, 12));
    SetSizerAndFit(column);
    SetMinSize(wxSize(360, -1));
    Fit();
    Centre();

    port_->Bind(wxEVT_SPINCTRL, &TNetHostDialog::OnPort, this);
    Bind(wxEVT_TIMER, &TNetHostDialog::OnTimer, this);
}

bool TNetHostDialog::Listen(uint16_t port) {
    // The code stays the same when only the port changes.
    if (session_) settings_.code = session_->code();
    session_.reset();
    settings_.port = port;
    std::string error;
    session_ = net::THostSession::Open(settings_, error);
    if (!session_) {
        code_->SetLabel(Wx("Code: ------"));
        status_->SetLabel(Wx(error + "."));
        return false;
    }
    code_->SetLabel(Wx("Code: " + std::to_string(session_->code())));
    status_->SetLabel(wxEmptyString);
    SaveSetting(kPortKey, std::to_string(port));
    return true;
}

void TNetHostDialog::OnPort(wxSpinEvent&) { Listen(static_cast<uint16_t>(port_->GetValue())); }

bool TNetHostDialog::WaitForGuest() {
    Listen(static_cast<uint16_t>(port_->GetValue()));
    timer_.Start(kPollIntervalMs);
    const int result = ShowModal();
    timer_.Stop();
    if (result != wxID_OK) session_.reset();  // tells a guest on its way that nobody waits
    return result == wxID_OK;
}

bool TNetHostDialog::PlaySelectedWorld() const { return selectedWorld_->GetValue(); }

void TNetHostDialog::OnTimer(wxTimerEvent&) {
    if (!session_) return;
    const int64_t end = NetworkClockMs() + kPollIntervalMs / 2;
    do {
        session_->Poll(NetworkClockMs(), 1);
    } while (session_->phase() == net::THostSession::TPhase::Waiting && NetworkClockMs() < end);
    if (session_->phase() == net::THostSession::TPhase::Joined) EndModal(wxID_OK);
}

}  // namespace qw
