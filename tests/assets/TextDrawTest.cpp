// Text geometry, captured segment by segment, and one check that the
// segments reach a real GL.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

#include "MlfTestFiles.h"
#include "assets/TextDraw.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

using test::AddStroke;
using test::SetAdvance;
using test::Stroke;

struct Segment {
    double x1, y1, x2, y2;
};

class SegmentRecorder : public LineSink {
public:
    void DrawLine2D(double x1, double y1, double x2, double y2) override { segments.push_back({x1, y1, x2, y2}); }
    std::vector<Segment> segments;
};

std::vector<Segment> Draw(TGameState& gs, std::u16string_view s, double scale, int32_t x, int32_t y) {
    SegmentRecorder rec;
    DrawText(gs, s, scale, x, y, rec);
    return rec.segments;
}

// With ypos0 = -scale the baseline is screen y 0, so font units times the
// scale are screen units.
std::vector<Segment> DrawAtOrigin(TGameState& gs, std::u16string_view s, double scale) {
    return Draw(gs, s, scale, 0, -int32_t(scale));
}

TEST(TextDraw, PenMovesInFontUnitsAndIsRoundedPerCharacter) {
    TGameState gs;
    AddStroke(gs, 'i', Stroke(kStrokeLine, 0, 0, 0, 1));
    SetAdvance(gs, 'i', 0.125, 0.5);
    SetAdvance(gs, ' ', 0.125, 0.5);  // no strokes, but it still advances

    const auto starts = [&](std::u16string_view s) {
        std::vector<double> xs;
        for (const Segment& seg : Draw(gs, s, 20, 0, 0)) xs.push_back(seg.x1);
        return xs;
    };
    EXPECT_EQ(starts(u"iiiii"), (std::vector<double>{0, 12, 25, 38, 50}));
    // Codes outside 32 ... 255 neither draw nor move the pen.
    EXPECT_EQ(starts(u"i\u20ACi\ti\u0100ii"), (std::vector<double>{0, 12, 25, 38, 50}));
    EXPECT_EQ(starts(u"i i"), (std::vector<double>{0, 25}));
    EXPECT_TRUE(starts(u"").empty());

    const auto segs = Draw(gs, u"i", 20, 7, 100);
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0].x1, 7);
    EXPECT_EQ(segs[0].y1, 120);  // baseline at ypos0 + scale
    EXPECT_EQ(segs[0].y2, 140);
}

TEST(TextDraw, ALineWhoseEndsMeetBecomesAOneUnitSegmentDownwards) {
    TGameState gs;
    AddStroke(gs, '.', Stroke(kStrokeLine, 0.01, 0.01, 0.02, 0.02));
    AddStroke(gs, '-', Stroke(kStrokeLine, 0, 0.5, 0.5, 0.5));
    const auto dot = Draw(gs, u".", 20, 100, 50);
    ASSERT_EQ(dot.size(), 1u);
    EXPECT_EQ(dot[0].x1, 100);
    EXPECT_EQ(dot[0].x2, 100);
    EXPECT_EQ(dot[0].y1, 70);
    EXPECT_EQ(dot[0].y2, 71);
    const auto dash = Draw(gs, u"-", 20, 100, 50);
    ASSERT_EQ(dash.size(), 1u);
    EXPECT_EQ(dash[0].y2, dash[0].y1);
}

TEST(TextDraw, CurvesAreDrawnAs128ConnectedChordsAtAnyScale) {
    TGameState gs;
    AddStroke(gs, 'c', Stroke(kStrokeCurve, 0, 0, 10, 0, 5, -10));
    for (double scale : {10.0, 20.0}) {
        const auto chords = DrawAtOrigin(gs, u"c", scale);
        ASSERT_EQ(chords.size(), 128u) << scale;
        EXPECT_EQ(chords.front().x1, 0);
        EXPECT_EQ(chords.front().y1, 0);
        EXPECT_EQ(chords.back().x2, 10 * scale);
        EXPECT_EQ(chords.back().y2, 0);
        for (std::size_t i = 1; i < chords.size(); ++i) {
            EXPECT_EQ(chords[i].x1, chords[i - 1].x2);
            EXPECT_EQ(chords[i].y1, chords[i - 1].y2);
        }
        // Half way along the curve: (A + 2B + C) / 4.
        EXPECT_NEAR(chords[63].x2, 5 * scale, 1);
        EXPECT_NEAR(chords[63].y2, -5 * scale, 1);
    }
}

TEST(TextDraw, FixedPointMidpointsReadTheFractionOver65535AndRound) {
    EXPECT_EQ(ToFixed(1.5), 98304);
    EXPECT_EQ(ToFixed(-0.5), -32768);  // truncation toward zero
    EXPECT_EQ(FixedValue(0x0000FFFF), 1.0);
    EXPECT_NEAR(FixedValue(-32768), -1 + 32768.0 / 65535, 1e-12);
    const TFixedPoint m = FixedMidpoint({0xFFFF, 0}, {0xFFFF, 1});
    EXPECT_EQ(m.x, 65536);  // 1.0, not 0.99998
    EXPECT_EQ(m.y, 1);      // 0.500008 rounds up where truncation gives 0
}

// The arc (0, 0) to (100, 0) bending towards the guide point (50, gy), scaled.
std::vector<Segment> DrawArc(double gy, double scale) {
    TGameState gs;
    AddStroke(gs, 'a', Stroke(kStrokeArc, 0, 0, 100, 0, 50, gy));
    return DrawAtOrigin(gs, u"a", scale);
}

double LowestY(const std::vector<Segment>& segs) {
    double lowest = 0;
    for (const Segment& s : segs) lowest = std::min({lowest, s.y1, s.y2});
    return lowest;
}

TEST(TextDraw, ArcsRunFromStartToEndThroughTheGuidedMiddleIn100Segments) {
    const auto arc = DrawArc(-30, 1);
    ASSERT_EQ(arc.size(), 100u);
    EXPECT_EQ(arc.front().x1, 0);  // the first segment starts and ends at the start point
    EXPECT_NEAR(arc.front().x2, 0, 1e-9);
    EXPECT_NEAR(arc.front().y2, 0, 1e-9);
    EXPECT_NEAR(arc.back().x2, 100, 1e-9);
    EXPECT_NEAR(arc.back().y2, 0, 1e-9);
    EXPECT_NEAR(LowestY(arc), -30, 0.1);  // the circle through (50, -30)
    const double cy = 80.0 / 3, r = std::hypot(50.0, cy);
    for (const Segment& s : arc) EXPECT_NEAR(std::hypot(s.x2 - 50, s.y2 - cy), r, 1e-9);

    // A guide below the chord bends it downwards.
    const auto below = DrawArc(30, 1);
    double highest = 0;
    for (const Segment& s : below) highest = std::max(highest, s.y2);
    EXPECT_NEAR(highest, 30, 0.1);

    const auto doubled = DrawArc(-30, 2);
    ASSERT_EQ(doubled.size(), 100u);
    EXPECT_NEAR(doubled.back().x2, 200, 1e-9);
    EXPECT_NEAR(LowestY(doubled), -60, 0.2);
}

TEST(TextDraw, AnArcStaysUnderAHalfCircleAndOnTheChordDrawsNothing) {
    const auto far = DrawArc(-1000, 1);
    ASSERT_EQ(far.size(), 100u);
    EXPECT_NEAR(LowestY(far), -49.95, 0.05);
    for (const Segment& s : far) {
        EXPECT_GE(s.x2, -1e-9);
        EXPECT_LE(s.x2, 100 + 1e-9);
    }
    EXPECT_TRUE(DrawArc(0, 1).empty());
    // Guide on the chord's line but off its middle: still the straight case.
    TGameState gs;
    AddStroke(gs, 'a', Stroke(kStrokeArc, 0, 0, 100, 0, 90, 0));
    EXPECT_TRUE(DrawAtOrigin(gs, u"a", 1).empty());
}

TEST(TextDraw, StrokesThatCannotBeConvertedAreSkipped) {
    TGameState gs;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    AddStroke(gs, 'x', Stroke(kStrokeLine, nan, 0, 1, 1));
    AddStroke(gs, 'x', Stroke(kStrokeLine, 0, 0, 1e300, 1));
    AddStroke(gs, 'x', Stroke(kStrokeCurve, 0, 0, 1, 1, INFINITY, 0));
    AddStroke(gs, 'x', Stroke(kStrokeCurve, 0, 0, 40000, 0, 0, 0));  // beyond 16.16
    AddStroke(gs, 'x', Stroke(kStrokeArc, 0, 0, 3e9, 0, 0, -1e9));
    AddStroke(gs, 'x', Stroke(3, 0, 0, 1, 1));
    AddStroke(gs, 'x', Stroke(-1, 0, 0, 1, 1));
    AddStroke(gs, 'x', Stroke(kStrokeLine, 0, 0, 1, 0));
    AddStroke(gs, 'x', Stroke(kStrokeCurve, 0, 0, 30000, 0, 0, 0));
    const auto segs = DrawAtOrigin(gs, u"x", 1);
    ASSERT_EQ(segs.size(), 1u + 128u);
    EXPECT_EQ(segs[0].x2, 1);
    EXPECT_EQ(segs.back().x2, 30000);

    // A pen that runs away draws nothing more, and no scale crashes.
    AddStroke(gs, 'i', Stroke(kStrokeLine, 0, 0, 0, 1));
    SetAdvance(gs, 'n', nan, 0);
    EXPECT_EQ(Draw(gs, u"ini", 20, 0, 0).size(), 1u);
    SetAdvance(gs, 'n', 1e300, 0);
    EXPECT_EQ(Draw(gs, u"ini", 20, 0, 0).size(), 1u);
    EXPECT_TRUE(Draw(gs, u"i", 0, 0, 0).empty());
    EXPECT_TRUE(Draw(gs, u"i", nan, 0, 0).empty());
}

TEST(TextDraw, Utf8TextIsWalkedInUtf16CodeUnits) {
    EXPECT_EQ(Utf8ToUtf16("Gl\xC3\xBC" "ck \xE2\x82\xAC \xF0\x9F\x98\x80"), u"Gl\u00FCck \u20AC \U0001F600");
    // Broken sequences, overlong forms and encoded surrogates become U+FFFD, one per byte.
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b\xC3"), u"a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");
}

class TextDrawGl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
    }
    test::OsMesaContext context{64, 32};
};

TEST_F(TextDrawGl, TheGameStringIsDrawnAsGlLines) {
    TGameState gs;
    // "ä" (one code unit 0xE4) is a horizontal line 1 font unit long.
    AddStroke(gs, u'\u00E4', Stroke(kStrokeLine, 0, 0, 1, 0));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 32, 0, -1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    DrawText(gs, std::string("\xC3\xA4"), 20, 10, -10);  // from (10, 10) to (30, 10)
    const auto& px = context.Pixels();
    const auto lit = [&](int x, int yFromTop) {
        const std::size_t row = std::size_t(31 - yFromTop);
        return px[(row * 64 + std::size_t(x)) * 4] > 128;
    };
    int litOnRow = 0;
    for (int x = 0; x < 64; ++x) litOnRow += lit(x, 10) || lit(x, 9);
    EXPECT_GE(litOnRow, 18);
    EXPECT_LE(litOnRow, 21);
    EXPECT_FALSE(lit(40, 10));
    EXPECT_FALSE(lit(20, 20));
}

// The plain way: every segment in its own glBegin/glEnd.
class SegmentPerBegin : public LineSink {
public:
    void DrawLine2D(double x1, double y1, double x2, double y2) override {
        glBegin(GL_LINES);
        glVertex2f(float(x1), float(y1));
        glVertex2f(float(x2), float(y2));
        glEnd();
    }
};

TEST_F(TextDrawGl, BatchingAndLeavingOutEmptySegmentsKeepThePicture) {
    TGameState gs;
    AddStroke(gs, 'o', Stroke(kStrokeCurve, 0, 0, 0.6, 0, 0.3, -0.8));
    AddStroke(gs, 'o', Stroke(kStrokeArc, 0, 0.1, 0.6, 0.1, 0.3, 0.4));
    AddStroke(gs, 'o', Stroke(kStrokeLine, 0.3, 0.2, 0.3, 0.2));  // a dot
    SetAdvance(gs, 'o', 0.4, 0.3);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 32, 0, -1, 10);
    glColor3f(1, 1, 1);
    glClearColor(0, 0, 0, 1);
    const auto picture = [&](auto draw) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw(u"ooo", 10.0, 2, 0);
        draw(u"oo", 17.5, 3, 5);
        return context.Pixels();
    };
    const auto plain = picture([&](std::u16string_view s, double scale, int x, int y) {
        SegmentPerBegin sink;
        DrawText(gs, s, scale, x, y, sink);
    });
    const auto batched = picture([&](std::u16string_view s, double scale, int x, int y) {
        GlLineSink sink;
        DrawText(gs, s, scale, x, y, sink);
    });
    int lit = 0;
    for (std::size_t i = 0; i < plain.size(); i += 4) lit += plain[i] > 0;
    EXPECT_GT(lit, 40);
    EXPECT_TRUE(plain == batched);
}

}  // namespace
}  // namespace qw

namespace qw {
namespace {

class PointSkippingRecorder final : public LineSink {
public:
    void DrawLine2D(double x1, double y1, double x2, double y2) override { numbers.insert(numbers.end(), {x1, y1, x2, y2}); }
    bool SkipsPointSegments() const override { return true; }
    std::vector<double> numbers;
};

std::vector<double> Numbers(const std::vector<Segment>& segments) {
    std::vector<double> out;
    for (const Segment& s : segments) out.insert(out.end(), {s.x1, s.y1, s.x2, s.y2});
    return out;
}

std::vector<double> CachedDraw(TTextCache& cache, TGameState& gs, std::u16string_view s, double scale, int32_t x,
                               int32_t y) {
    SegmentRecorder rec;
    cache.Draw(gs, s, scale, x, y, rec);
    return Numbers(rec.segments);
}

TEST(TextCache, GivesWhatDrawingGivesAndFollowsEveryChangeOfTheFont) {
    TGameState gs;
    AddStroke(gs, 'a', Stroke(kStrokeLine, 0, 0, 0.5, 1));
    AddStroke(gs, 'a', Stroke(kStrokeCurve, 0, 0, 1, 0, 0.5, 0.7));
    AddStroke(gs, 'b', Stroke(kStrokeArc, 0, 0, 0, 1, 0.4, 0.5));
    SetAdvance(gs, 'a', 0.1, 0.6);
    SetAdvance(gs, 'b', 0.1, 0.5);
    TTextCache cache;
    const auto direct = [&](std::u16string_view s, double scale, int32_t x, int32_t y) {
        return Numbers(Draw(gs, s, scale, x, y));
    };
    // Again and again, interleaved, at other places and sizes.
    for (int round = 0; round < 3; ++round)
        for (const auto& [text, scale, x, y] : {std::tuple{u"ab", 20.0, 0, 0}, std::tuple{u"ba", 20.0, 0, 0},
                                               std::tuple{u"ab", 40.0, 0, 0}, std::tuple{u"ab", 20.0, 3, 0},
                                               std::tuple{u"ab", 20.0, 0, 5}})
            EXPECT_EQ(CachedDraw(cache, gs, text, scale, x, y), direct(text, scale, x, y)) << round;

    // The walk over the glyph arrays leaves the same current record.
    cache.Draw(gs, u"ab", 20, 0, 0, *std::make_unique<SegmentRecorder>());
    const void* afterCached = gs.aseg;
    Draw(gs, u"ab", 20, 0, 0);
    EXPECT_EQ(afterCached, gs.aseg);

    const std::vector<double> before = direct(u"ab", 20, 0, 0);
    static_cast<TStrokeRecord*>(gs.buchstaben['a' - 32].GetObject(1))->y3 = 0.9;
    EXPECT_EQ(CachedDraw(cache, gs, u"ab", 20, 0, 0), direct(u"ab", 20, 0, 0));
    EXPECT_NE(direct(u"ab", 20, 0, 0), before);
    SetAdvance(gs, 'a', 0.2, 0.6);
    EXPECT_EQ(CachedDraw(cache, gs, u"ab", 20, 0, 0), direct(u"ab", 20, 0, 0));
    AddStroke(gs, 'b', Stroke(kStrokeLine, 0.2, 0.2, 0.2, 0.8));
    EXPECT_EQ(CachedDraw(cache, gs, u"ab", 20, 0, 0), direct(u"ab", 20, 0, 0));

    // A sink that drops point segments gets the segments worked out for it.
    PointSkippingRecorder skipping, fresh;
    cache.Draw(gs, u"ab", 20, 0, 0, skipping);
    DrawText(gs, u"ab", 20, 0, 0, fresh);
    EXPECT_EQ(skipping.numbers, fresh.numbers);
    EXPECT_LT(skipping.numbers.size(), direct(u"ab", 20, 0, 0).size());

    // More texts than it keeps: still right, old ones or new.
    for (int i = 0; i < 40; ++i) {
        const int32_t x = i % 20;
        EXPECT_EQ(CachedDraw(cache, gs, u"ba", 20, x, 0), direct(u"ba", 20, x, 0)) << i;
    }
}

}  // namespace
}  // namespace qw
