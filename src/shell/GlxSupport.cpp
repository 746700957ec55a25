#include "shell/GlxSupport.h"

#include <cstring>

#include <GL/glx.h>
#include <GL/glxext.h>

namespace qw {
namespace {

bool HasExtension(const char* extensions, const char* name) {
    if (extensions == nullptr) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == extensions || at[-1] == ' ';
        const bool endsWord = at[length] == '\0' || at[length] == ' ';
        if (startsWord && endsWord) return true;
    }
    return false;
}

template <typename Function>
Function LookUp(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

bool DisplayHasGlx() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    int errorBase = 0, eventBase = 0, major = 0, minor = 0;
    const bool present = glXQueryExtension(display, &errorBase, &eventBase) &&
                         glXQueryVersion(display, &major, &minor);
    XCloseDisplay(display);
    return present;
}

void RequestSwapIntervalZero() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) return;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (HasExtension(extensions, "GLX_EXT_swap_control")) {
        if (auto swapInterval = LookUp<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT")) {
            swapInterval(display, drawable, 0);
            return;
        }
    }
    if (HasExtension(extensions, "GLX_MESA_swap_control")) {
        if (auto swapInterval = LookUp<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA")) swapInterval(0);
    }
}

}  // namespace qw
