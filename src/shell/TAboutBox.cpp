#include "shell/TAboutBox.h"

#include <wx/button.h>
#include <wx/font.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/WxText.h"

namespace qw {

TAboutBox::TAboutBox(wxWindow* parent) : wxDialog(parent, wxID_ANY, Wx("Über Quaderwelt")) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxStaticText(this, wxID_ANY, Wx("Quaderwelt"));
    name->SetFont(name->GetFont().Bold().Scaled(1.5f));
    column->Add(name, wxSizerFlags().Center().Border(wxALL, 12));
    column->Add(new wxStaticText(this, wxID_ANY, Wx("Version 1.0")), wxSizerFlags().Center().Border(wxLEFT | wxRIGHT, 24));
    column->Add(new wxStaticText(this, wxID_ANY, Wx("Korland")), wxSizerFlags().Center().Border(wxALL, 8));
    column->Add(new wxButton(this, wxID_OK, Wx("OK")), wxSizerFlags().Center().Border(wxALL, 12));
    SetSizerAndFit(column);
    Centre();
}

}  // namespace qw
