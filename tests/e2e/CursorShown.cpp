// Prints "shown" when the pointer's current cursor has a visible pixel and
// "hidden" when it is blank, as the player sees it on the screen.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "no XFIXES on this display\n");
        return 1;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr) {
        std::fprintf(stderr, "no cursor image\n");
        return 1;
    }
    bool visible = false;
    // XFixes hands out ARGB pixels in unsigned longs.
    for (int i = 0; i < image->width * image->height && !visible; ++i) visible = (image->pixels[i] >> 24) != 0;
    std::puts(visible ? "shown" : "hidden");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
