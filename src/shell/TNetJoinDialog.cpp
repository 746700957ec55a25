#include "shell/TNetJoinDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "net/HostAddress.h"
#include "net/JoinCode.h"
#include "net/Protocol.h"
#include "platform/MessageBoxes.h"
#include "platform/Settings.h"
#include "shell/WxText.h"

namespace qw {

namespace {
constexpr char kHostKey[] = "NetworkHost";
}  // namespace

TNetJoinDialog::TNetJoinDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, Wx("Netzwerkspiel beitreten")) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    const auto flags = wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxTOP, 10);
    column->Add(new wxStaticText(this, wxID_ANY, Wx("Adresse des Gastgebers:")), flags);
    host_ = new wxTextCtrl(this, wxID_ANY, Wx(LoadSetting(kHostKey)), wxDefaultPosition, wxSize(300, -1));
    column->Add(host_, flags);
    column->Add(new wxStaticText(this, wxID_ANY, Wx("Code:")), flags);
    code_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString);
    code_->SetMaxLength(6);
    column->Add(code_, flags);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, Wx("OK"));
    ok->SetDefault();
    buttons->Add(ok, wxSizerFlags().Border(wxRIGHT, 8));
    buttons->Add(new wxButton(this, wxID_CANCEL, Wx("Abbrechen")));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 10));
    SetSizerAndFit(column);
    Centre();
    ok->Bind(wxEVT_BUTTON, &TNetJoinDialog::OnOk, this);
}

bool TNetJoinDialog::Ask() {
    (host_->IsEmpty() ? host_ : code_)->SetFocus();
    return ShowModal() == wxID_OK;
}

std::string TNetJoinDialog::HostText() const { return Utf8(host_->GetValue()); }

uint32_t TNetJoinDialog::Code() const { return net::ParseJoinCode(Utf8(code_->GetValue())).value_or(0); }

void TNetJoinDialog::OnOk(wxCommandEvent&) {
    if (!net::ParseHostText(HostText(), net::kDefaultPort)) {
        ShowErrorMessage("Die Adresse des Gastgebers ist ungültig.", this);
        host_->SetFocus();
        return;
    }
    if (!net::ParseJoinCode(Utf8(code_->GetValue()))) {
        ShowErrorMessage("Der Code hat sechs Ziffern.", this);
        code_->SetFocus();
        return;
    }
    SaveSetting(kHostKey, HostText());
    EndModal(wxID_OK);
}

}  // namespace qw
