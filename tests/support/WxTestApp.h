#pragma once
// Starts wxWidgets once per test program, for tests with real windows on the
// (virtual) display. The caller checks that DISPLAY is set first.
#include <wx/app.h>

namespace qw::test {

inline bool StartWxOnce() {
    static const bool started = [] {
        static int argc = 1;
        static char name[] = "quaderwelt_gui_tests";
        static char* argv[] = {name, nullptr};
        wxApp::SetInstance(new wxApp);
        return wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
    }();
    return started;
}

}  // namespace qw::test
