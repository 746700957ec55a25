#include "shell/Terminate.h"

#include <wx/app.h>
#include <wx/window.h>

namespace qw {

void RequestTerminate() {
    wxTheApp->CallAfter([] {
        if (wxWindow* mainWindow = wxTheApp->GetTopWindow()) mainWindow->Close(true);
    });
}

}  // namespace qw
