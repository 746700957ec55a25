#pragma once
// The start dialog, the application's main window: players, mode, skins, a
// new world's name and the world list. Closing it ends the program.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <wx/frame.h>

class wxButton;
class wxFilePickerCtrl;
class wxStaticBox;
class wxListView;
class wxRadioButton;
class wxTextCtrl;
class wxListEvent;

namespace qw {

class TMainForm;
class TAboutBox;
class TRenameForm;

class TModusForm : public wxFrame {
public:
    TModusForm();

    // The other windows exist only after this one; main wires them in.
    void SetWindows(TMainForm* mainForm, TAboutBox* aboutBox, TRenameForm* renameForm);

    // How the game was launched: 0 not yet, 1 the selected world, 6 a new world.
    int32_t res = 0;

    wxRadioButton* EinzelCheck;
    wxRadioButton* ZweiSpielerCheck;
    wxRadioButton* SmaragdCheck;
    wxRadioButton* KreativCheck;
    wxRadioButton* FightCheck;
    wxFilePickerCtrl* FilenameEdit1;  // player skin
    wxFilePickerCtrl* FilenameEdit2;  // opponent skin
    wxTextCtrl* Edit1;                // name for a new world
    wxListView* ListView1;
    wxStaticBox* GroupBox1;
    wxButton* playthisworldbtn;
    wxButton* playnewworld;
    wxButton* loeschenbtn;
    wxButton* UmbenennenBtn;
    wxButton* exitgame;

    // File name of the selected world (with ".lev"), if one is selected.
    std::optional<std::string> SelectedWorld() const;
    // The skin file names as typed or chosen, UTF-8.
    std::string PlayerSkinFile() const;
    std::string OpponentSkinFile() const;
    std::string NewWorldName() const;

private:
    void CreateControls();
    // Extra client width the captions need with the desktop's font, 0 if none.
    int WidenForCaptions();
    void LoadSkinSettings();
    void SaveSkinSettings();
    std::string DataFolder() const;
    void AddWorldEntry(const std::string& name);
    void WarnNoWorldSelected();
    bool GameShown() const;

    void FormShow(wxShowEvent& event);
    void playthisworldbtnClick(wxCommandEvent& event);
    void playnewworldClick(wxCommandEvent& event);
    void ListView1DblClick(wxListEvent& event);
    void loeschenbtnClick(wxCommandEvent& event);
    void UmbenennenBtnClick(wxCommandEvent& event);
    void exitgameClick(wxCommandEvent& event);
    void ber1Click(wxCommandEvent& event);
    void NetzwerkEroeffnenClick(wxCommandEvent& event);
    void NetzwerkBeitretenClick(wxCommandEvent& event);
    void FormClose(wxCloseEvent& event);

    // Runs a handler body; an error nothing else caught goes to the standard error box.
    template <typename Body>
    void Guarded(Body&& body);

    TMainForm* mainForm_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TRenameForm* renameForm_ = nullptr;
    // The raw file names behind the list rows, row for row: a name that is not
    // valid UTF-8 is shown approximately but still handled exactly.
    std::vector<std::string> worldEntries_;
};

}  // namespace qw
