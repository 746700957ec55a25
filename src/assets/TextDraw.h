#pragma once
// Text drawn as line segments with the vector font of the glyph table.
// Screen units follow the caller's projection: x right, y down.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world/GameState.h"

namespace qw {

// Receives every segment a text is made of. The game draws them with GL;
// tests collect them.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void DrawLine2D(double x1, double y1, double x2, double y2) = 0;
    // True when the sink draws nothing for a segment whose two ends are the
    // same point, so curves may leave out the parts that stay on one point.
    virtual bool SkipsPointSegments() const { return false; }
};

// One glBegin(GL_LINES)/glEnd around all segments of a text, in the current
// colour. Segments whose ends coincide are left out: GL rasterises nothing
// for them, and most of the 128 chords of a small curve are such. Both only
// save time; the picture is the same as with one glBegin/glEnd per segment.
class GlLineSink final : public LineSink {
public:
    GlLineSink();
    ~GlLineSink() override;
    GlLineSink(const GlLineSink&) = delete;
    GlLineSink& operator=(const GlLineSink&) = delete;
    void DrawLine2D(double x1, double y1, double x2, double y2) override;
    bool SkipsPointSegments() const override { return true; }
};

// Invalid sequences become U+FFFD, which no glyph has.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Draws s (UTF-16 code units; only codes 32 ... 255 have glyphs, others are
// skipped without moving the pen) at schirmres3value screen units per font
// unit. xpos0 is the first character's origin, ypos0 + schirmres3value the
// screen y of the font's baseline. Strokes whose coordinates cannot be
// converted (non-finite, or beyond the integer and 16.16 ranges) are skipped.
void DrawText(TGameState& gs, std::u16string_view s, double schirmres3value, int32_t xpos0, int32_t ypos0,
              LineSink& sink);
// The game's UTF-8 strings, drawn with GL through a TTextCache.
void DrawText(TGameState& gs, std::string_view s, double schirmres3value, int32_t xpos0, int32_t ypos0);

// Remembers the segments of the texts drawn lately: the overlay draws the
// same few texts every frame, and working out their curves is most of their
// cost. A text drawn again at the same place and size, with font data equal
// byte for byte to last time's, gets last time's segments in the same order.
// The glyph arrays are walked either way, as drawing walks them.
class TTextCache {
public:
    void Draw(TGameState& gs, std::u16string_view s, double schirmres3value, int32_t xpos0, int32_t ypos0,
              LineSink& sink);

private:
    struct TEntry {
        std::u16string text;
        double scale;
        int32_t x, y;
        bool skipsPoints;
        std::vector<uint8_t> font;     // the font data the text was drawn from
        std::vector<double> segments;  // four numbers per segment
        uint64_t usedAt;
    };
    static constexpr size_t kEntries = 16;  // more than one frame's texts
    std::vector<TEntry> entries_;
    uint64_t clock_ = 0;
};

// The pieces DrawText is built from.
struct TFixedPoint {
    int32_t x, y;  // 16.16 fixed point
};
struct TRealPoint {
    double x, y;
};

int32_t ToFixed(double v);  // truncates; the caller keeps |v| within 32767
// The font's reading of a 16.16 number: the fraction is divided by 65535.
double FixedValue(int32_t f);
TFixedPoint FixedMidpoint(TFixedPoint P, TFixedPoint Q);
// A start, B control point, C end; depth 0 draws 128 chords from A to C,
// less those that start and end on one point when the sink skips them anyway.
void DrawQuadBezier(TFixedPoint A, TFixedPoint B, TFixedPoint C, int32_t depth, LineSink& sink);
double PointAngle(double x, double y, double cx, double cy);
// Draws the circular arc from A through B to C in 100 segments; false (and
// nothing drawn) when the three points are nearly on one line.
bool ArcThroughPoints(TRealPoint A, TRealPoint B, TRealPoint C, LineSink& sink);
void DrawArcSteps(bool ccw, TRealPoint centre, double R, TRealPoint A, TRealPoint C, LineSink& sink);
// Arc from P1 to P2 bent towards P3, at most just under a half circle.
void DrawGuidedArc(TRealPoint P1, TRealPoint P2, TRealPoint P3, LineSink& sink);

}  // namespace qw
