#include "shell/TNetWaitDialog.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/WxText.h"

namespace qw {

namespace {
constexpr int kPollIntervalMs = 5;
constexpr int kGaugeRange = 1000;
}  // namespace

TNetWaitDialog::TNetWaitDialog(wxWindow* parent, std::function<TWaitState()> poll)
    : wxDialog(parent, wxID_ANY, Wx("Netzwerkspiel beitreten")), poll_(std::move(poll)), timer_(this) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    status_ = new wxStaticText(this, wxID_ANY, Wx("Der Gastgeber wird gesucht …"), wxDefaultPosition, wxSize(320, -1));
    column->Add(status_, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP, 12));
    gauge_ = new wxGauge(this, wxID_ANY, kGaugeRange);
    column->Add(gauge_, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP, 12));
    column->Add(new wxButton(this, wxID_CANCEL, Wx("Abbrechen")), wxSizerFlags().Right().Border(wxALL, 12));
    SetSizerAndFit(column);
    Centre();
    Bind(wxEVT_TIMER, &TNetWaitDialog::OnTimer, this);
}

bool TNetWaitDialog::Wait() {
    timer_.Start(kPollIntervalMs);
    const int result = ShowModal();
    timer_.Stop();
    return result == wxID_OK;
}

void TNetWaitDialog::OnTimer(wxTimerEvent&) {
    const TWaitState state = poll_();
    if (status_->GetLabel() != Wx(state.status)) status_->SetLabel(Wx(state.status));
    if (state.share < 0) {
        gauge_->Pulse();
    } else {
        gauge_->SetValue(static_cast<int>(state.share * kGaugeRange));
    }
    if (state.done) {
        timer_.Stop();
        EndModal(wxID_OK);
    }
}

}  // namespace qw
