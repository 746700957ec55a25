// Program start: the start dialog, the game window (which builds everything
// the game needs), the information dialog and the rename dialog, all hidden;
// then the start dialog is shown. The program ends when it closes.
#include <cstdlib>

#include <wx/app.h>

#include "platform/GermanToolkitTexts.h"
#include "platform/MessageBoxes.h"
#include "shell/TAboutBox.h"
#include "shell/TMainForm.h"
#include "shell/TModusForm.h"
#include "shell/TRenameForm.h"

namespace qw {

class QuaderweltApp : public wxApp {
public:
    bool OnInit() override {
        // No command line is interpreted, so wxApp's own parser is not run.
        SetAppName("Quaderwelt");
        SetAppDisplayName("Quaderwelt");
        UseGermanToolkitTexts();

        auto* modusForm = new TModusForm;
        SetTopWindow(modusForm);
        auto* mainForm = new TMainForm(*modusForm);
        auto* aboutBox = new TAboutBox(modusForm);
        auto* renameForm = new TRenameForm(modusForm);
        modusForm->SetWindows(mainForm, aboutBox, renameForm);

        if (!mainForm->HasGLContext()) {
            ShowStandardError("Für das Spielfenster konnte kein OpenGL-Kontext erstellt werden");
            modusForm->Close(true);
            return false;
        }
        modusForm->Show();
        return true;
    }
};

}  // namespace qw

wxIMPLEMENT_APP_NO_MAIN(qw::QuaderweltApp);

int main(int argc, char** argv) {
    // Pointer warping, which mouse look needs, only works through X11; on a
    // Wayland session that means XWayland.
    setenv("GDK_BACKEND", "x11", 0);
    return wxEntry(argc, argv);
}
