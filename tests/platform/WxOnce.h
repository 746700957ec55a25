#pragma once
// wxWidgets started once per test program on the (virtual) display; the
// tests then make and destroy their windows in it.
#include <wx/app.h>

namespace qw::test {

inline bool StartWxOnce() {
    static const bool started = [] {
        static int argc = 1;
        static char name[] = "quaderwelt_tests";
        static char* argv[] = {name, nullptr};
        wxApp::SetInstance(new wxApp);
        return wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
    }();
    return started;
}

}  // namespace qw::test
