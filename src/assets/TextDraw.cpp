#include "assets/TextDraw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <optional>

#include "assets/MlfFont.h"

namespace qw {
namespace {

// 16.16 numbers hold values below 32768; staying one unit inside keeps the
// rounded midpoints of the curve halving inside as well.
constexpr double kFixedLimit = 32767.0;

std::optional<int32_t> RoundToInt32(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);  // halves to even
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return int32_t(r);
}

std::optional<int32_t> AddInt32(std::optional<int32_t> a, int32_t b) {
    if (!a) return std::nullopt;
    const int64_t sum = int64_t(*a) + b;
    if (sum < std::numeric_limits<int32_t>::min() || sum > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return int32_t(sum);
}

bool FitsFixed(double v) { return std::isfinite(v) && std::fabs(v) <= kFixedLimit; }

void DrawLineStroke(const TStrokeRecord& r, double scale, int32_t xo, double yo, LineSink& sink) {
    const auto X1 = AddInt32(RoundToInt32(r.x1 * scale), xo);
    const auto Y1 = RoundToInt32(r.y1 * scale + yo);
    const auto X2 = AddInt32(RoundToInt32(r.x2 * scale), xo);
    const auto Y2 = RoundToInt32(r.y2 * scale + yo);
    if (!X1 || !Y1 || !X2 || !Y2) return;
    double y2 = *Y2;
    if (*X1 == *X2 && *Y1 == *Y2) y2 = double(*Y1) + 1;  // a dot still shows as one unit
    sink.DrawLine2D(*X1, *Y1, *X2, y2);
}

void DrawCurveStroke(const TStrokeRecord& r, double scale, int32_t xo, double yo, LineSink& sink) {
    const double v[6] = {r.x1 * scale + xo, r.y1 * scale + yo, r.x2 * scale + xo,
                         r.y2 * scale + yo, r.x3 * scale + xo, r.y3 * scale + yo};
    for (double c : v)
        if (!FitsFixed(c)) return;
    const TFixedPoint A{ToFixed(v[0]), ToFixed(v[1])};
    const TFixedPoint C{ToFixed(v[2]), ToFixed(v[3])};
    const TFixedPoint B{ToFixed(v[4]), ToFixed(v[5])};
    DrawQuadBezier(A, B, C, 0, sink);
}

void DrawArcStroke(const TStrokeRecord& r, double scale, int32_t xo, double yo, LineSink& sink) {
    const auto x1 = RoundToInt32(r.x1 * scale + xo), y1 = RoundToInt32(r.y1 * scale + yo);
    const auto x2 = RoundToInt32(r.x2 * scale + xo), y2 = RoundToInt32(r.y2 * scale + yo);
    const auto x3 = RoundToInt32(r.x3 * scale + xo), y3 = RoundToInt32(r.y3 * scale + yo);
    if (!x1 || !y1 || !x2 || !y2 || !x3 || !y3) return;
    DrawGuidedArc({double(*x1), double(*y1)}, {double(*x2), double(*y2)}, {double(*x3), double(*y3)}, sink);
}

void DrawStroke(const TStrokeRecord& r, double scale, int32_t xo, double yo, LineSink& sink) {
    switch (r.kind) {
        case kStrokeLine: DrawLineStroke(r, scale, xo, yo, sink); break;
        case kStrokeCurve: DrawCurveStroke(r, scale, xo, yo, sink); break;
        case kStrokeArc: DrawArcStroke(r, scale, xo, yo, sink); break;
        default: break;
    }
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(char16_t(cp));
    }
}

}  // namespace

GlLineSink::GlLineSink() { glBegin(GL_LINES); }

GlLineSink::~GlLineSink() { glEnd(); }

void GlLineSink::DrawLine2D(double x1, double y1, double x2, double y2) {
    const float fx1 = float(x1), fy1 = float(y1), fx2 = float(x2), fy2 = float(y2);
    if (fx1 == fx2 && fy1 == fy2) return;
    glVertex2f(fx1, fy1);
    glVertex2f(fx2, fy2);
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = uint8_t(utf8[i]);
        std::size_t length = 0;
        char32_t cp = 0, smallest = 0;
        if (lead < 0x80) {
            length = 1, cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, cp = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, cp = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, cp = lead & 0x07, smallest = 0x10000;
        }
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = uint8_t(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = cp << 6 | (next & 0x3F);
        }
        valid = valid && cp >= smallest && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!valid) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += length;
    }
    return out;
}

int32_t ToFixed(double v) { return int32_t(v * 65536.0); }

double FixedValue(int32_t f) { return double(f >> 16) + double(uint32_t(f) & 0xFFFFu) / 65535.0; }

namespace {

// Round((FixedValue(p) + FixedValue(q)) / 2 * 65536) in whole numbers: that
// is (p's and q's integer parts) * 32768 + (their fractions) * 32768 / 65535.
// The fraction's sixteenths over 65535 never make an exact half, and doubles
// would miss the true value by less than 1e-6, so both round alike; whole
// numbers spare the library's rounding calls, which text drew by the thousand.
int32_t FixedHalfway(int32_t p, int32_t q) {
    const int64_t whole = int64_t{p >> 16} + (q >> 16);
    const int64_t fraction = (int64_t{p & 0xFFFF} + (q & 0xFFFF)) * 32768;
    return static_cast<int32_t>(whole * 32768 + (2 * fraction + 65535) / 131070);
}

}  // namespace

TFixedPoint FixedMidpoint(TFixedPoint P, TFixedPoint Q) { return {FixedHalfway(P.x, Q.x), FixedHalfway(P.y, Q.y)}; }

namespace {

// True when every point the halving of A, B, C can produce rounds to one
// screen point, so every chord below starts and ends there. A midpoint lies
// between the points it halves, up to 1.5/65536 for the rounding to 16.16;
// eight halvings stay far below kDrift.
bool CurveStaysOnOnePoint(TFixedPoint A, TFixedPoint B, TFixedPoint C) {
    constexpr double kDrift = 1e-3;
    const auto onePoint = [](int32_t a, int32_t b, int32_t c) {
        // FixedValue grows with its argument.
        const double lo = FixedValue(std::min({a, b, c})) - kDrift;
        const double hi = FixedValue(std::max({a, b, c})) + kDrift;
        const double n = std::floor(lo + 0.5);  // not at a tie, the nearest whole number
        return lo > n - 0.5 && hi < n + 0.5;
    };
    return onePoint(A.x, B.x, C.x) && onePoint(A.y, B.y, C.y);
}

}  // namespace

void DrawQuadBezier(TFixedPoint A, TFixedPoint B, TFixedPoint C, int32_t depth, LineSink& sink) {
    // At small sizes most of a glyph's 128 chords have no length; working
    // them all out cost milliseconds per line of text.
    if (sink.SkipsPointSegments() && CurveStaysOnOnePoint(A, B, C)) return;
    const int32_t d = depth + 1;
    if (d == 8) {
        sink.DrawLine2D(std::nearbyint(FixedValue(A.x)), std::nearbyint(FixedValue(A.y)),
                        std::nearbyint(FixedValue(C.x)), std::nearbyint(FixedValue(C.y)));
        return;
    }
    const TFixedPoint M1 = FixedMidpoint(A, B);
    const TFixedPoint M2 = FixedMidpoint(B, C);
    const TFixedPoint M = FixedMidpoint(M1, M2);
    DrawQuadBezier(A, M1, M, d, sink);
    DrawQuadBezier(M, M2, C, d, sink);
}

double PointAngle(double x, double y, double cx, double cy) { return std::atan2(y - cy, x - cx); }

bool ArcThroughPoints(TRealPoint A, TRealPoint B, TRealPoint C, LineSink& sink) {
    const double x1 = A.x, y1 = A.y, x2 = B.x, y2 = B.y, x3 = C.x, y3 = C.y;
    const double D = x1 * y2 + x2 * y3 + x3 * y1 - x1 * y3 - x2 * y1 - x3 * y2;
    if (std::fabs(D) <= 5) return false;
    const double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2, s3 = x3 * x3 + y3 * y3;
    const double cx = (s1 * (y2 - y3) + s2 * (y3 - y1) + s3 * (y1 - y2)) * 0.5 / D;
    const double cy = (s1 * (x3 - x2) + s2 * (x1 - x3) + s3 * (x2 - x1)) * 0.5 / D;
    const double R = std::hypot(x1 - cx, y1 - cy);
    const double alphaA = PointAngle(x1, y1, cx, cy);
    const double alphaC = PointAngle(x3, y3, cx, cy);
    const double sweep = alphaC > alphaA ? alphaC - alphaA : 2 * std::numbers::pi - alphaA + alphaC;
    DrawArcSteps(sweep < std::numbers::pi, {cx, cy}, R, A, C, sink);
    return true;
}

void DrawArcSteps(bool ccw, TRealPoint centre, double R, TRealPoint A, TRealPoint C, LineSink& sink) {
    double thetaA = PointAngle(A.x, A.y, centre.x, centre.y);
    double thetaC = PointAngle(C.x, C.y, centre.x, centre.y);
    if (ccw) {
        if (thetaA >= thetaC) thetaC += 2 * std::numbers::pi;
    } else {
        if (thetaA <= thetaC) thetaA += 2 * std::numbers::pi;
    }
    TRealPoint q = A;
    for (int i = 0; i <= 99; ++i) {
        const double theta = thetaA + (thetaC - thetaA) * i / 99;
        const TRealPoint P{centre.x + R * std::cos(theta), centre.y + R * std::sin(theta)};
        sink.DrawLine2D(q.x, q.y, P.x, P.y);
        q = P;
    }
}

void DrawGuidedArc(TRealPoint P1, TRealPoint P2, TRealPoint P3, LineSink& sink) {
    const TRealPoint M{P1.x + (P2.x - P1.x) / 2, P1.y + (P2.y - P1.y) / 2};
    const TRealPoint h{(P2.x - P1.x) / 2, (P2.y - P1.y) / 2};
    // The middle point is searched on the chord's perpendicular bisector,
    // never more than 0.999 half-chords out, so the arc stays under a half circle.
    TRealPoint K{};
    double bestScore = 0;
    for (int i = 999; i >= -999; --i) {
        const TRealPoint candidate{M.x + i * h.y / 1000, M.y - i * h.x / 1000};
        const double score = std::hypot(candidate.x - P3.x, candidate.y - P3.y) / 2;
        if (i == 999 || score < bestScore) {
            K = candidate;
            bestScore = score;
        }
    }
    ArcThroughPoints(P1, K, P2, sink);
}

void DrawText(TGameState& gs, std::u16string_view s, double schirmres3value, int32_t xpos0, int32_t ypos0,
              LineSink& sink) {
    const double scale = schirmres3value;
    double pen = xpos0 / scale;  // font units, rounded to the screen per character
    const double yo = ypos0 + scale;
    for (const char16_t c : s) {
        if (c < 32 || c > 255) continue;
        const std::size_t glyph = c - 32;
        if (const auto xo = RoundToInt32(pen * scale)) {
            TDynaArray& strokes = gs.buchstaben[glyph];
            strokes.First();
            while (strokes.WhileNext()) {
                TStrokeRecord stroke;
                std::memcpy(&stroke, gs.aseg, sizeof stroke);
                DrawStroke(stroke, scale, *xo, yo, sink);
            }
        }
        pen = pen + gs.buchstabenbreitea[glyph] + gs.buchstabenbreitebc[glyph];
    }
}

void DrawText(TGameState& gs, std::string_view s, double schirmres3value, int32_t xpos0, int32_t ypos0) {
    static TTextCache cache;  // GL is drawn from one thread
    const std::u16string units = Utf8ToUtf16(s);
    GlLineSink gl;
    cache.Draw(gs, units, schirmres3value, xpos0, ypos0, gl);
}

namespace {

template <typename T>
void AppendBytes(std::vector<uint8_t>& out, const T& value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

// The font data a text is drawn from, read the way DrawText reads it: the
// advance terms of each glyph, and the strokes of those it draws.
std::vector<uint8_t> FontDataOf(TGameState& gs, std::u16string_view s, double scale, int32_t xpos0) {
    std::vector<uint8_t> out;
    double pen = xpos0 / scale;
    for (const char16_t c : s) {
        if (c < 32 || c > 255) continue;
        const std::size_t glyph = c - 32;
        if (RoundToInt32(pen * scale)) {
            TDynaArray& strokes = gs.buchstaben[glyph];
            AppendBytes(out, strokes.count());
            strokes.First();
            while (strokes.WhileNext()) {
                TStrokeRecord stroke;
                std::memcpy(&stroke, gs.aseg, sizeof stroke);
                AppendBytes(out, stroke);
            }
        }
        AppendBytes(out, gs.buchstabenbreitea[glyph]);
        AppendBytes(out, gs.buchstabenbreitebc[glyph]);
        pen = pen + gs.buchstabenbreitea[glyph] + gs.buchstabenbreitebc[glyph];
    }
    return out;
}

// Passes segments on and keeps them.
class RecordingSink final : public LineSink {
public:
    RecordingSink(LineSink& target, std::vector<double>& kept) : target_(target), kept_(kept) {}
    void DrawLine2D(double x1, double y1, double x2, double y2) override {
        kept_.insert(kept_.end(), {x1, y1, x2, y2});
        target_.DrawLine2D(x1, y1, x2, y2);
    }
    bool SkipsPointSegments() const override { return target_.SkipsPointSegments(); }

private:
    LineSink& target_;
    std::vector<double>& kept_;
};

}  // namespace

void TTextCache::Draw(TGameState& gs, std::u16string_view s, double schirmres3value, int32_t xpos0, int32_t ypos0,
                      LineSink& sink) {
    ++clock_;
    std::vector<uint8_t> font = FontDataOf(gs, s, schirmres3value, xpos0);
    const bool skipsPoints = sink.SkipsPointSegments();
    for (TEntry& e : entries_) {
        // Compared as bits: a scale that is not a number never equals itself.
        if (e.text != s || std::memcmp(&e.scale, &schirmres3value, sizeof e.scale) != 0 || e.x != xpos0 ||
            e.y != ypos0 || e.skipsPoints != skipsPoints || e.font != font)
            continue;
        e.usedAt = clock_;
        for (size_t i = 0; i + 3 < e.segments.size(); i += 4)
            sink.DrawLine2D(e.segments[i], e.segments[i + 1], e.segments[i + 2], e.segments[i + 3]);
        return;
    }
    TEntry entry{std::u16string(s), schirmres3value, xpos0, ypos0, skipsPoints, std::move(font), {}, clock_};
    RecordingSink recorder(sink, entry.segments);
    DrawText(gs, s, schirmres3value, xpos0, ypos0, recorder);
    if (entries_.size() < kEntries) {
        entries_.push_back(std::move(entry));
        return;
    }
    *std::min_element(entries_.begin(), entries_.end(), [](const TEntry& a, const TEntry& b) {
        return a.usedAt < b.usedAt;
    }) = std::move(entry);
}

}  // namespace qw
