#include <cmath>
#include <memory>
#include <string>

#include "FuzzTargets.h"
#include "MemoryFile.h"
#include "assets/MlfFont.h"
#include "assets/TextDraw.h"
#include "korland/DynaArray.h"

namespace qw::fuzz {
namespace {

class SegmentCheck final : public LineSink {
public:
    void DrawLine2D(double x1, double y1, double x2, double y2) override {
        Require(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2),
                "text segments have finite ends");
    }
};

std::u16string EveryGlyph() {
    std::u16string all;
    for (char16_t c = 32; c <= 255; ++c) all += c;
    return all;
}

}  // namespace

void FeedFontFile(Bytes bytes) {
    static const auto state = std::make_unique<TGameState>();
    TGameState& gs = *state;
    for (TDynaArray& glyph : gs.buchstaben) glyph.Clear();
    gs.buchstabenbreitea.fill(0);
    gs.buchstabenbreitebc.fill(0);

    MemoryFile file(bytes);
    bool reported = false;
    try {
        OpenMLFontFile(gs, file.path(), [&](const std::string&) { reported = true; });
    } catch (const EDynaArrayMemory&) {
        return;  // the heap refused a glyph: reported to the user, nothing to draw
    }
    Require(!reported, "a memory file opens");

    // The overlay's size and a pen far to the right, where the advances of a
    // hostile file push the text fastest out of the integer range.
    static const std::u16string all = EveryGlyph();
    SegmentCheck sink;
    DrawText(gs, all, 20, 100, 100, sink);
    DrawText(gs, all, 20, 2000000000, -2000000000, sink);
}

}  // namespace qw::fuzz
