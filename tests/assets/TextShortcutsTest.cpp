// The shortcuts of the text drawing must not change a single segment: curves
// leave out the chords that start and end on one point when the sink skips
// those anyway, and curve midpoints are worked out in whole numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "assets/MlfFont.h"
#include "assets/TextDraw.h"

namespace qw {
namespace {

struct Segment {
    float x1, y1, x2, y2;
    bool operator==(const Segment&) const = default;
};

// Records what a GL sink would draw: the segments with two different ends.
class DrawnSegments : public LineSink {
public:
    explicit DrawnSegments(bool skipsPoints) : skipsPoints_(skipsPoints) {}
    void DrawLine2D(double x1, double y1, double x2, double y2) override {
        const Segment s{float(x1), float(y1), float(x2), float(y2)};
        ++given;
        if (s.x1 != s.x2 || s.y1 != s.y2) drawn.push_back(s);
    }
    bool SkipsPointSegments() const override { return skipsPoints_; }
    std::vector<Segment> drawn;
    long given = 0;

private:
    bool skipsPoints_;
};

TEST(TextShortcuts, MidpointsRoundAsTheDoubleReadingDoes) {
    const auto byDoubles = [](int32_t p, int32_t q) {
        return int32_t(std::nearbyint((FixedValue(p) + FixedValue(q)) / 2 * 65536.0));
    };
    std::mt19937 rng(11);
    // All of 16.16 except the top, where the midpoint itself would not fit.
    std::uniform_int_distribution<int32_t> any(-0x7FFFFFFF, 0x7FFEFFFF);
    std::uniform_int_distribution<int32_t> fraction(0, 0xFFFF);
    for (int i = 0; i < 200000; ++i) {
        int32_t p = any(rng), q = any(rng);
        if (i % 3 == 0) q = (p & ~0xFFFF) + fraction(rng);  // one whole part, fractions near ties
        const TFixedPoint m = FixedMidpoint({p, q}, {q, p});
        ASSERT_EQ(m.x, byDoubles(p, q)) << p << " " << q;
        ASSERT_EQ(m.y, byDoubles(q, p)) << p << " " << q;
    }
}

TEST(TextShortcuts, ShippedFontDrawsTheSameSegmentsAtEverySize) {
    auto gs = std::make_unique<TGameState>();
    OpenMLFontFile(*gs, QUADERWELT_DATA_DIR "/Arial.mlf", [](const std::string& m) { FAIL() << m; });
    const std::u16string texts[] = {u"Glückwunsch! Du hast den Gegner besiegt!", u"Distanz zum Smaragd: 1234567890",
                                    u"Der Screenshot wurde gespeichert.", u"ÄÖÜäöüß@&%?§"};
    for (const double size : {20.0, 40.0, 7.5, 13.3, 133.0}) {
        for (const auto& text : texts) {
            for (const int x : {0, 7, -301}) {
                DrawnSegments all(false), skipping(true);
                DrawText(*gs, text, size, x, 11, all);
                DrawText(*gs, text, size, x, 11, skipping);
                ASSERT_EQ(all.drawn, skipping.drawn) << "size " << size << " x " << x;
                if (size <= 40) {
                    EXPECT_LT(skipping.given * 4, all.given) << "size " << size;
                }
            }
        }
    }
}

TEST(TextShortcuts, TinyCurvesAroundHalfPixelsDrawTheSame) {
    // Control points within a pixel or two of a rounding edge, where a bound
    // that is too tight would drop a real chord.
    std::mt19937 rng(5);
    std::uniform_int_distribution<int32_t> base(-200, 200);
    std::uniform_int_distribution<int32_t> offset(-3 * 65536 / 2, 3 * 65536 / 2);
    for (int i = 0; i < 20000; ++i) {
        const int32_t cx = base(rng) * 65536 + 65536 / 2, cy = base(rng) * 65536 + 65536 / 2;
        const int32_t spread = i % 2 ? 64 : 65536;
        const auto point = [&] {
            return TFixedPoint{cx + offset(rng) % spread, cy + offset(rng) % spread};
        };
        const TFixedPoint A = point(), B = point(), C = point();
        DrawnSegments all(false), skipping(true);
        DrawQuadBezier(A, B, C, 0, all);
        DrawQuadBezier(A, B, C, 0, skipping);
        ASSERT_EQ(all.given, 128);
        ASSERT_EQ(all.drawn, skipping.drawn) << i;
    }
}

}  // namespace
}  // namespace qw
