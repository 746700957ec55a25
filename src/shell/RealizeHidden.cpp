#include "shell/RealizeHidden.h"

#include <dlfcn.h>

#include <wx/window.h>

namespace qw {

bool RealizeHidden(wxWindow* window) {
    // wxWidgets has no call for this; GTK does. It is already loaded by
    // wxWidgets, so it is looked up there rather than built against.
    using RealizeFunction = void (*)(void*);
    auto realize = reinterpret_cast<RealizeFunction>(dlsym(RTLD_DEFAULT, "gtk_widget_realize"));
    if (realize == nullptr || window->GetHandle() == nullptr) return false;
    realize(window->GetHandle());
    return true;
}

}  // namespace qw
