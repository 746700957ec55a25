// Finds a line of text in a window as GTK drew it, and reads the digits that
// follow it:
//
//   qw_e2e_text WINDOW FONT TEXT [DIGITS]
//
// Exit 0 when TEXT is there, printing where ("x y width height" in the
// window) or, given DIGITS, that many digits that follow it after a space;
// 1 when it is not there, 2 on a usage error.
//
// A dialog's labels are drawn by the program itself; no X request returns
// their text. So the text is rendered here with Pango, the library that
// draws GTK's labels, in the same font at the same resolution, and looked
// for in the window's pixels. The digits are read the same way: after TEXT
// each of "0" to "9" is rendered in place and the best fitting one kept, so
// spacing and kerning come out as GTK lays them. Comparisons forgive one
// pixel of difference, since the two may place a glyph a fraction apart.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <pango/pangocairo.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// GTK's resolution when no desktop settings name one, as under Xvfb.
constexpr double kDpi = 96;
// The share of the text's ink that may miss and still count as found. The
// same text misses next to nothing, a text a letter off a few per cent.
constexpr double kFoundShare = 0.02;
// Text found on its own has no ink in these columns before or after its box,
// so that a part of a longer line does not count. The column next to the box
// is not looked at: the forgiven pixel may have moved the box onto the text's
// own edge.
constexpr int kClearFrom = 2, kClearTo = 4;

struct TMask {
    int width = 0, height = 0;
    std::vector<unsigned char> ink;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && ink[y * width + x]; }
};

// Every pixel within one pixel of ink.
TMask Grown(const TMask& m) {
    TMask g{m.width, m.height, std::vector<unsigned char>(m.ink.size(), 0)};
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            for (int dy = -1; dy <= 1 && !g.ink[y * m.width + x]; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (m.at(x + dx, y + dy)) {
                        g.ink[y * m.width + x] = 1;
                        break;
                    }
    return g;
}

// The text's pixels of the window: darker than halfway from the ground (the
// most common shade) to the darkest shade. GTK draws text in a window
// without the focus paler, so no fixed shade would do.
bool WindowMask(Display* display, Window window, TMask& mask) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const int width = attributes.width, height = attributes.height;
    std::vector<unsigned char> shade(static_cast<size_t>(width) * height);
    int count[256] = {};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const unsigned r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            const unsigned char v = static_cast<unsigned char>((r * 299 + g * 587 + b * 114) / 1000);
            shade[static_cast<size_t>(y) * width + x] = v;
            ++count[v];
        }
    }
    XDestroyImage(image);
    int ground = 0, darkest = 255;
    for (int v = 0; v < 256; ++v) {
        if (count[v] > count[ground]) ground = v;
        if (count[v] > 0 && v < darkest) darkest = v;
    }
    const int limit = (ground + darkest) / 2;
    mask = TMask{width, height, std::vector<unsigned char>(shade.size())};
    for (size_t i = 0; i < shade.size(); ++i) mask.ink[i] = shade[i] < limit;
    return true;
}

// The text as Pango draws it; origin is where its ink begins.
struct TRendered {
    TMask mask;
    int inkLeft = 0, inkTop = 0, inkRight = -1, inkBottom = -1, inkCount = 0;
};

// Drawn shifted by a fraction of a pixel: GTK centres some labels, which may
// start their glyphs between pixels.
struct TShift {
    double x = 0, y = 0;
};

TRendered Render(const std::string& font, const std::string& text, TShift shift = {}) {
    constexpr int kWidth = 1000, kHeight = 80;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_cairo_context_set_resolution(pango_layout_get_context(layout), kDpi);
    PangoFontDescription* description = pango_font_description_from_string(font.c_str());
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, text.c_str(), -1);
    cairo_move_to(cr, 10 + shift.x, 10 + shift.y);
    pango_cairo_show_layout(cr, layout);
    cairo_surface_flush(surface);

    TRendered r;
    r.mask = TMask{kWidth, kHeight, std::vector<unsigned char>(kWidth * kHeight)};
    r.inkLeft = kWidth;
    r.inkTop = kHeight;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (data[y * stride + x] < 128) continue;
            r.mask.ink[y * kWidth + x] = 1;
            ++r.inkCount;
            if (x < r.inkLeft) r.inkLeft = x;
            if (x > r.inkRight) r.inkRight = x;
            if (y < r.inkTop) r.inkTop = y;
            if (y > r.inkBottom) r.inkBottom = y;
        }
    }
    pango_font_description_free(description);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return r;
}

// Pixels that disagree when the text's ink box is laid at x, y of the
// window: ink of one side with no ink of the other within a pixel. Gives
// up once past `limit`.
struct TWindow {
    TMask mask, grown;
};

int Misses(const TWindow& w, const TRendered& t, const TMask& tGrown, int x, int y, int limit) {
    int misses = 0;
    for (int ty = t.inkTop; ty <= t.inkBottom; ++ty) {
        for (int tx = t.inkLeft; tx <= t.inkRight; ++tx) {
            const int wx = x + tx - t.inkLeft, wy = y + ty - t.inkTop;
            if (t.mask.ink[ty * t.mask.width + tx]) {
                if (!w.grown.at(wx, wy)) ++misses;
            } else if (w.mask.at(wx, wy) && !tGrown.ink[ty * t.mask.width + tx]) {
                ++misses;
            }
        }
        if (misses > limit) return misses;
    }
    return misses;
}

// No ink in the few columns left and right of the box x, y, w, h.
bool ClearBeside(const TMask& m, int x, int y, int w, int h) {
    for (int row = y; row < y + h; ++row)
        for (int i = kClearFrom; i <= kClearTo; ++i)
            if (m.at(x - i, row) || m.at(x + w - 1 + i, row)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s WINDOW FONT TEXT [DIGITS]\n", argv[0]);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const std::string font = argv[2], text = argv[3];
    const int digits = argc == 5 ? std::atoi(argv[4]) : 0;

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open display\n");
        return 2;
    }
    // A window that went away meanwhile is not an error of the test's.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    TWindow w;
    if (!WindowMask(display, window, w.mask)) {
        std::fprintf(stderr, "window %s cannot be read\n", argv[1]);
        return 1;
    }
    XCloseDisplay(display);
    w.grown = Grown(w.mask);

    TRendered wanted = Render(font, text);
    if (wanted.inkCount == 0) {
        std::fprintf(stderr, "'%s' has no ink in font '%s'\n", text.c_str(), font.c_str());
        return 2;
    }
    int best = INT_MAX, bestX = 0, bestY = 0;
    {
        const TMask grown = Grown(wanted.mask);
        const int boxWidth = wanted.inkRight - wanted.inkLeft + 1, boxHeight = wanted.inkBottom - wanted.inkTop + 1;
        for (int y = 0; y + boxHeight <= w.mask.height; ++y) {
            for (int x = 0; x + boxWidth <= w.mask.width; ++x) {
                const int misses = Misses(w, wanted, grown, x, y, best);
                if (misses < best) {
                    best = misses;
                    bestX = x;
                    bestY = y;
                }
            }
        }
    }
    // Where it was found, the quarter-pixel shift that fits best. Positions
    // are kept as where the unshifted ink box would begin.
    TShift shift;
    const TRendered unshifted = wanted;
    for (int qy = 0; qy < 4; ++qy) {
        for (int qx = 0; qx < 4; ++qx) {
            if (qx == 0 && qy == 0) continue;
            const TShift s{qx / 4.0, qy / 4.0};
            const TRendered shifted = Render(font, text, s);
            const TMask grown = Grown(shifted.mask);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = bestX + dx + shifted.inkLeft - unshifted.inkLeft;
                    const int y = bestY + dy + shifted.inkTop - unshifted.inkTop;
                    const int misses = Misses(w, shifted, grown, x, y, best);
                    if (misses < best) {
                        best = misses;
                        shift = s;
                        wanted = shifted;
                        bestX = x - (shifted.inkLeft - unshifted.inkLeft);
                        bestY = y - (shifted.inkTop - unshifted.inkTop);
                    }
                }
            }
        }
    }
    // bestX, bestY: where the found (possibly shifted) ink box begins.
    bestX += wanted.inkLeft - unshifted.inkLeft;
    bestY += wanted.inkTop - unshifted.inkTop;
    const int boxWidth = wanted.inkRight - wanted.inkLeft + 1, boxHeight = wanted.inkBottom - wanted.inkTop + 1;
    if (best > kFoundShare * wanted.inkCount) {
        std::fprintf(stderr, "'%s' not found (best place misses %d of %d pixels)\n", text.c_str(), best,
                     wanted.inkCount);
        return 1;
    }
    if (digits == 0 && !ClearBeside(w.mask, bestX, bestY, boxWidth, boxHeight)) {
        std::fprintf(stderr, "'%s' found only as part of a longer line\n", text.c_str());
        return 1;
    }

    // Each digit in turn: the text with the digits so far and one more,
    // laid where the text was found (the text's ink starts the line, so its
    // box begins where the text's did).
    std::string read;
    for (int i = 0; i < digits; ++i) {
        int bestMisses = INT_MAX;
        char bestDigit = '?';
        for (char d = '0'; d <= '9'; ++d) {
            const TRendered candidate = Render(font, text + " " + read + d, shift);
            const TMask candidateGrown = Grown(candidate.mask);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = bestX + dx + candidate.inkLeft - wanted.inkLeft;
                    const int y = bestY + dy + candidate.inkTop - wanted.inkTop;
                    const int misses = Misses(w, candidate, candidateGrown, x, y, bestMisses);
                    if (misses < bestMisses) {
                        bestMisses = misses;
                        bestDigit = d;
                    }
                }
            }
        }
        read += bestDigit;
    }
    if (digits > 0) {
        std::puts(read.c_str());
    } else {
        std::printf("%d %d %d %d\n", bestX, bestY, boxWidth, boxHeight);
    }
    return 0;
}
