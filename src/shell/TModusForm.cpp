#include "shell/TModusForm.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <initializer_list>

#include <wx/button.h>
#include <wx/filepicker.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "net/EndTexts.h"
#include "net/GuestSession.h"
#include "net/HostSession.h"
#include "platform/MessageBoxes.h"
#include "platform/Settings.h"
#include "shell/ErrorBox.h"
#include "shell/NetworkClock.h"
#include "shell/NetworkNotice.h"
#include "shell/TAboutBox.h"
#include "shell/TMainForm.h"
#include "shell/TNetHostDialog.h"
#include "shell/TNetJoinDialog.h"
#include "shell/TNetWaitDialog.h"
#include "shell/TRenameForm.h"
#include "shell/WorldFiles.h"
#include "shell/WxText.h"

namespace qw {
namespace {

constexpr char kPlayerSkinKey[] = "PlayerSkin";
constexpr char kOpponentSkinKey[] = "OpponentSkin";
constexpr char kSkinWildcard[] = "PNG Dateien (*.png)|*.png";
constexpr char kNoWorldSelected[] = "Es ist keine Welt ausgewählt!";
constexpr char kRenameFailed[] = "Die Welt konnte nicht umbenannt werden.";
constexpr int kClientWidth = 420, kClientHeight = 539;
// One pixel more than the 17 the rows are apart: GTK cannot draw its radio
// indicator in less. Neighbouring rows overlap by that pixel, which shows nothing.
constexpr int kRadioHeight = 18;

void Widen(wxWindow* control, int extra) { control->SetSize(control->GetSize() + wxSize(extra, 0)); }

wxFilePickerCtrl* SkinChooser(wxWindow* parent, const wxPoint& pos) {
    return new wxFilePickerCtrl(parent, wxID_ANY, wxString(), Wx("Minecraft Skin auswählen"), Wx(kSkinWildcard), pos,
                                wxSize(401, 21), wxFLP_OPEN | wxFLP_USE_TEXTCTRL);
}

// The player's skin file as it is sent to the other player of a network
// game; none when it cannot be read or is larger than any skin.
std::vector<uint8_t> ReadSkinFile(const std::string& path) {
    if (path.empty()) return {};
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(net::kMaxSkinBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<size_t>(in.gcount());
    if (got == 0 || got > net::kMaxSkinBytes) return {};
    bytes.resize(got);
    return bytes;
}

// How far the guest's wait has come, in the words the dialog shows.
TWaitState GuestWaitState(const net::TGuestSession& session, const std::string& host) {
    using Phase = net::TGuestSession::TPhase;
    switch (session.phase()) {
        case Phase::Finding: return {false, "Der Gastgeber " + host + " wird gesucht …", -1};
        case Phase::Connecting: return {false, "Verbinde mit " + host + " …", -1};
        case Phase::Joining: return {false, "Der Code wird geprüft …", -1};
        case Phase::Receiving: return {false, TransferNotice(session.ReceivedShare()), session.ReceivedShare()};
        case Phase::Playing:
        case Phase::Ended: break;
    }
    return {true, "", 1};
}

}  // namespace

TModusForm::TModusForm()
    : wxFrame(nullptr, wxID_ANY, Wx("Korland Quaderwelt 1.0"), wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxMINIMIZE_BOX) {
    auto* menuBar = new wxMenuBar;
    auto* aboutMenu = new wxMenu;
    aboutMenu->Append(wxID_ABOUT, Wx("Über Quaderwelt …"));
    menuBar->Append(aboutMenu, Wx("Über"));
    auto* networkMenu = new wxMenu;
    const int hostId = wxWindow::NewControlId(), joinId = wxWindow::NewControlId();
    networkMenu->Append(hostId, Wx("Netzwerkspiel eröffnen …"));
    networkMenu->Append(joinId, Wx("Netzwerkspiel beitreten …"));
    menuBar->Append(networkMenu, Wx("Netzwerk"));
    SetMenuBar(menuBar);
    Bind(wxEVT_MENU, &TModusForm::NetzwerkEroeffnenClick, this, hostId);
    Bind(wxEVT_MENU, &TModusForm::NetzwerkBeitretenClick, this, joinId);

    CreateControls();
    SetClientSize(kClientWidth + WidenForCaptions(), kClientHeight);
    Centre();
    LoadSkinSettings();

    Bind(wxEVT_SHOW, &TModusForm::FormShow, this);
    Bind(wxEVT_CLOSE_WINDOW, &TModusForm::FormClose, this);
    Bind(wxEVT_MENU, &TModusForm::ber1Click, this, wxID_ABOUT);
}

void TModusForm::CreateControls() {
    auto* panel = new wxPanel(this);

    EinzelCheck = new wxRadioButton(panel, wxID_ANY, Wx("Einzelspieler"), wxPoint(8, 8), wxSize(113, kRadioHeight), wxRB_GROUP);
    ZweiSpielerCheck = new wxRadioButton(panel, wxID_ANY, Wx("Zwei Spieler"), wxPoint(8, 24), wxSize(113, kRadioHeight));
    EinzelCheck->SetValue(true);

    // The mode buttons sit inside the group box: box origin (8, 48) plus their offsets.
    GroupBox1 = new wxStaticBox(panel, wxID_ANY, Wx("Modus"), wxPoint(8, 48), wxSize(401, 73));
    SmaragdCheck = new wxRadioButton(panel, wxID_ANY, Wx("Smaragd suchen (Welten können nicht dauerhaft zerstört werden)"),
                                     wxPoint(24, 64), wxSize(361, kRadioHeight), wxRB_GROUP);
    KreativCheck = new wxRadioButton(panel, wxID_ANY, Wx("Kreativmodus (Welt wird gespeichert, keine Bomben)"),
                                     wxPoint(24, 80), wxSize(353, kRadioHeight));
    FightCheck = new wxRadioButton(panel, wxID_ANY, Wx("Kampfmodus (Welten können nicht dauerhaft zerstört werden)"),
                                   wxPoint(24, 96), wxSize(369, kRadioHeight));
    SmaragdCheck->SetValue(true);

    new wxStaticText(panel, wxID_ANY, Wx("Eigener Minecraft Skin für den Spieler:"), wxPoint(8, 128));
    FilenameEdit1 = SkinChooser(panel, wxPoint(8, 144));
    new wxStaticText(panel, wxID_ANY, Wx("Eigener Minecraft Skin für den Gegner:"), wxPoint(8, 168));
    FilenameEdit2 = SkinChooser(panel, wxPoint(8, 184));

    new wxStaticText(panel, wxID_ANY, Wx("Name für neue Welt:"), wxPoint(8, 208));
    Edit1 = new wxTextCtrl(panel, wxID_ANY, Wx("Neue Welt"), wxPoint(8, 224), wxSize(401, 21));

    new wxStaticText(panel, wxID_ANY, Wx("Welt aussuchen:"), wxPoint(8, 256));
    ListView1 = new wxListView(panel, wxID_ANY, wxPoint(8, 272), wxSize(401, 153), wxLC_REPORT | wxLC_SINGLE_SEL);
    ListView1->AppendColumn(Wx("Welt"), wxLIST_FORMAT_LEFT, 350);

    playthisworldbtn = new wxButton(panel, wxID_ANY, Wx("Ausgesuchte Welt spielen"), wxPoint(8, 440), wxSize(201, 25));
    playnewworld = new wxButton(panel, wxID_ANY, Wx("Neue Welt spielen"), wxPoint(216, 440), wxSize(193, 25));
    loeschenbtn = new wxButton(panel, wxID_ANY, Wx("Welt löschen"), wxPoint(8, 472), wxSize(201, 25));
    UmbenennenBtn = new wxButton(panel, wxID_ANY, Wx("Welt umbenennen"), wxPoint(8, 504), wxSize(201, 25));
    exitgame = new wxButton(panel, wxID_ANY, Wx("Beenden"), wxPoint(216, 472), wxSize(193, 57));

    playthisworldbtn->Bind(wxEVT_BUTTON, &TModusForm::playthisworldbtnClick, this);
    playnewworld->Bind(wxEVT_BUTTON, &TModusForm::playnewworldClick, this);
    loeschenbtn->Bind(wxEVT_BUTTON, &TModusForm::loeschenbtnClick, this);
    UmbenennenBtn->Bind(wxEVT_BUTTON, &TModusForm::UmbenennenBtnClick, this);
    exitgame->Bind(wxEVT_BUTTON, &TModusForm::exitgameClick, this);
    ListView1->Bind(wxEVT_LIST_ITEM_ACTIVATED, &TModusForm::ListView1DblClick, this);
    FilenameEdit1->Bind(wxEVT_FILEPICKER_CHANGED, [this](wxFileDirPickerEvent&) { SaveSkinSettings(); });
    FilenameEdit2->Bind(wxEVT_FILEPICKER_CHANGED, [this](wxFileDirPickerEvent&) { SaveSkinSettings(); });
}

int TModusForm::WidenForCaptions() {
    // The mode captions are long; with a wide desktop font they need more
    // room than their place gives them. Then the dialog grows by just that
    // much and its full-width controls with it, so nothing is clipped.
    int extra = 0;
    for (wxRadioButton* mode : {SmaragdCheck, KreativCheck, FightCheck})
        extra = std::max(extra, mode->GetBestSize().x - mode->GetSize().x);
    if (extra == 0) return 0;
    for (wxWindow* control : std::initializer_list<wxWindow*>{SmaragdCheck, KreativCheck, FightCheck, GroupBox1,
                                                             FilenameEdit1, FilenameEdit2, Edit1, ListView1,
                                                             playnewworld, exitgame})
        Widen(control, extra);
    return extra;
}

void TModusForm::SetWindows(TMainForm* mainForm, TAboutBox* aboutBox, TRenameForm* renameForm) {
    mainForm_ = mainForm;
    aboutBox_ = aboutBox;
    renameForm_ = renameForm;
}

template <typename Body>
void TModusForm::Guarded(Body&& body) {
    try {
        body();
    } catch (const std::exception& error) {
        ShowErrorBox(error, this);
    }
}

std::optional<std::string> TModusForm::SelectedWorld() const {
    const long row = ListView1->GetFirstSelected();
    if (row < 0 || static_cast<std::size_t>(row) >= worldEntries_.size()) return std::nullopt;
    return worldEntries_[static_cast<std::size_t>(row)];
}

std::string TModusForm::PlayerSkinFile() const { return Utf8(FilenameEdit1->GetPath()); }
std::string TModusForm::OpponentSkinFile() const { return Utf8(FilenameEdit2->GetPath()); }
std::string TModusForm::NewWorldName() const { return Utf8(Edit1->GetValue()); }

void TModusForm::LoadSkinSettings() {
    FilenameEdit1->SetPath(Wx(LoadSetting(kPlayerSkinKey)));
    FilenameEdit2->SetPath(Wx(LoadSetting(kOpponentSkinKey)));
}

void TModusForm::SaveSkinSettings() {
    SaveSetting(kPlayerSkinKey, PlayerSkinFile());
    SaveSetting(kOpponentSkinKey, OpponentSkinFile());
}

std::string TModusForm::DataFolder() const { return mainForm_->GetProgramDir(false); }

void TModusForm::AddWorldEntry(const std::string& name) {
    worldEntries_.push_back(name);
    // A name that is not UTF-8 is shown with its odd bytes replaced.
    wxString shown = Wx(name);
    if (shown.empty() && !name.empty()) shown = wxString(name.c_str(), wxConvISO8859_1);
    ListView1->InsertItem(ListView1->GetItemCount(), shown);
}

void TModusForm::WarnNoWorldSelected() { ShowErrorMessage(kNoWorldSelected, this); }

void TModusForm::FormShow(wxShowEvent& event) {
    event.Skip();
    if (!event.IsShown()) return;
    Guarded([&] {
        res = 0;
        ListView1->DeleteAllItems();
        worldEntries_.clear();
        for (const std::string& name : ListWorldFiles(DataFolder())) AddWorldEntry(name);
        if (!worldEntries_.empty()) {
            ListView1->Select(0);
            ListView1->Focus(0);
        }
    });
}

void TModusForm::playthisworldbtnClick(wxCommandEvent&) {
    Guarded([&] {
        if (GameShown()) return;
        if (!SelectedWorld()) {
            WarnNoWorldSelected();
            return;
        }
        res = 1;
        mainForm_->ShowGame(false);
    });
}

bool TModusForm::GameShown() const {
    // "Ausgesuchte Welt spielen" leaves this dialog enabled behind the game.
    // A play button or Enter on the list reaching it then must not start a
    // new round: that would reload the world and lose unsaved building.
    return mainForm_->IsShown();
}

void TModusForm::ListView1DblClick(wxListEvent&) {
    if (!SelectedWorld()) return;
    wxCommandEvent unused;
    playthisworldbtnClick(unused);
}

void TModusForm::playnewworldClick(wxCommandEvent&) {
    Guarded([&] {
        if (GameShown()) return;
        res = 6;
        mainForm_->ShowGame(true);
    });
}

void TModusForm::loeschenbtnClick(wxCommandEvent&) {
    Guarded([&] {
        const long row = ListView1->GetFirstSelected();
        const std::optional<std::string> entry = SelectedWorld();
        if (!entry) {
            WarnNoWorldSelected();
            return;
        }
        const std::string question = "Wollen Sie die Welt " + *entry + " wirklich löschen?";
        if (AskYesNoCancel(question, "Löschen", this) != TAnswer::Yes) return;
        if (!DeleteWorldFile(DataFolder(), *entry)) return;
        ListView1->DeleteItem(row);
        worldEntries_.erase(worldEntries_.begin() + row);
    });
}

void TModusForm::UmbenennenBtnClick(wxCommandEvent&) {
    Guarded([&] {
        const long row = ListView1->GetFirstSelected();
        const std::optional<std::string> entry = SelectedWorld();
        if (!entry) {
            WarnNoWorldSelected();
            return;
        }
        renameForm_->Edit1->SetValue(Wx(RenameProposal(*entry)));
        if (renameForm_->ShowModal() != wxID_OK) return;
        const std::string newName = Utf8(renameForm_->Edit1->GetValue());
        switch (RenameWorldFile(DataFolder(), *entry, newName)) {
        case TRenameResult::Unchanged:
            return;
        case TRenameResult::Renamed:
            worldEntries_[static_cast<std::size_t>(row)] = newName + ".lev";
            ListView1->SetItemText(row, Wx(newName + ".lev"));
            return;
        case TRenameResult::Failed:
            ShowErrorMessage(kRenameFailed, this);
            return;
        }
    });
}

void TModusForm::exitgameClick(wxCommandEvent&) { Close(); }

void TModusForm::ber1Click(wxCommandEvent&) { aboutBox_->ShowModal(); }

void TModusForm::NetzwerkEroeffnenClick(wxCommandEvent&) {
    Guarded([&] {
        if (GameShown()) return;
        net::THostSettings settings;
        settings.creative = KreativCheck->GetValue();
        settings.fight = FightCheck->GetValue();
        settings.skin = ReadSkinFile(PlayerSkinFile());
        TNetHostDialog dialog(this, SelectedWorld(), NewWorldName(), std::move(settings));
        if (!dialog.WaitForGuest()) return;
        res = dialog.PlaySelectedWorld() ? 1 : 6;
        mainForm_->ShowNetworkHost(dialog.TakeSession());
    });
}

void TModusForm::NetzwerkBeitretenClick(wxCommandEvent&) {
    Guarded([&] {
        if (GameShown()) return;
        TNetJoinDialog ask(this);
        if (!ask.Ask()) return;
        std::string error;
        auto session = net::TGuestSession::Start({ask.HostText(), ask.Code(), ReadSkinFile(PlayerSkinFile())},
                                                 NetworkClockMs(), error);
        if (!session) return ShowErrorMessage(error, this);
        // The world arrives straight into the game window's record.
        TGameState& replica = *mainForm_->state;
        TNetWaitDialog wait(this, [&] {
            const int64_t end = NetworkClockMs() + 3;
            do {
                session->Poll(NetworkClockMs(), replica, 1);
            } while (NetworkClockMs() < end && !GuestWaitState(*session, ask.HostText()).done);
            return GuestWaitState(*session, ask.HostText());
        });
        if (!wait.Wait()) return;  // "Abbrechen": the session tells the host as it goes
        if (session->phase() == net::TGuestSession::TPhase::Playing) {
            mainForm_->ShowNetworkGuest(std::move(session));
            return;
        }
        const bool refusedHere = session->endReason() == net::TEndReason::Malformed && !session->endDetail().empty();
        ShowErrorMessage(net::EndText({session->endReason(), refusedHere, true, session->Unreachable()}), this);
    });
}

void TModusForm::FormClose(wxCloseEvent& event) {
    Guarded([&] { SaveSkinSettings(); });
    // The other windows are hidden, not closed; they go with the program.
    if (mainForm_) mainForm_->Destroy();
    if (aboutBox_) aboutBox_->Destroy();
    if (renameForm_) renameForm_->Destroy();
    mainForm_ = nullptr;
    aboutBox_ = nullptr;
    renameForm_ = nullptr;
    event.Skip();  // the default handler destroys the dialog, which ends the program
}

}  // namespace qw
