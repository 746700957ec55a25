// Converts the outlines of a TrueType font into the game's vector font file
// (.mlf): per character 32..255 (Latin-1) a count and 104-byte stroke
// records, then two arrays of advance terms.
//
// Units: 1 = the em size, x to the right from the pen, y down from the
// baseline. Straight segments become kind 0 strokes, quadratic segments kind
// 1 (start, end, control); cubic segments are split into quadratics.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;
constexpr size_t kRecordSize = 104;

struct Point {
    double x, y;
};

struct Stroke {
    Point p1, p2, p3;
    int32_t kind;
};

struct Collector {
    double unitsPerEm;
    Point pen{};
    std::vector<Stroke> strokes;

    Point ToFontUnits(const FT_Vector* v) const { return {v->x / unitsPerEm, -v->y / unitsPerEm}; }
};

Collector& From(void* user) { return *static_cast<Collector*>(user); }

int MoveTo(const FT_Vector* to, void* user) {
    From(user).pen = From(user).ToFontUnits(to);
    return 0;
}

int LineTo(const FT_Vector* to, void* user) {
    Collector& c = From(user);
    const Point end = c.ToFontUnits(to);
    if (end.x != c.pen.x || end.y != c.pen.y) c.strokes.push_back({c.pen, end, end, 0});
    c.pen = end;
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Collector& c = From(user);
    const Point end = c.ToFontUnits(to);
    c.strokes.push_back({c.pen, end, c.ToFontUnits(control), 1});
    c.pen = end;
    return 0;
}

// A cubic is split in four at equal parameter steps; each piece becomes the
// quadratic through the piece's ends whose start and end tangents match the
// cubic's as nearly as one control point allows.
int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
    Collector& c = From(user);
    const Point p0 = c.pen, p1 = c.ToFontUnits(control1), p2 = c.ToFontUnits(control2), p3 = c.ToFontUnits(to);
    auto at = [&](double t) {
        const double u = 1 - t;
        return Point{u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
                     u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y};
    };
    auto tangent = [&](double t) {
        const double u = 1 - t;
        return Point{3 * (u * u * (p1.x - p0.x) + 2 * u * t * (p2.x - p1.x) + t * t * (p3.x - p2.x)),
                     3 * (u * u * (p1.y - p0.y) + 2 * u * t * (p2.y - p1.y) + t * t * (p3.y - p2.y))};
    };
    constexpr int pieces = 4;
    for (int i = 0; i < pieces; ++i) {
        const double t0 = double(i) / pieces, t1 = double(i + 1) / pieces, h = (t1 - t0) / 2;
        const Point a = at(t0), b = at(t1), ta = tangent(t0), tb = tangent(t1);
        // Control point from both end tangents, averaged.
        const Point control{(a.x + ta.x * h + b.x - tb.x * h) / 2, (a.y + ta.y * h + b.y - tb.y * h) / 2};
        c.strokes.push_back({a, b, control, 1});
    }
    c.pen = p3;
    return 0;
}

void PutDouble(std::vector<uint8_t>& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) out.push_back(uint8_t(bits >> (8 * i)));
}

void PutInt32(std::vector<uint8_t>& out, int32_t v) {
    const uint32_t bits = uint32_t(v);
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(bits >> (8 * i)));
}

void Check(FT_Error error, const char* what) {
    if (error) throw std::runtime_error(std::string(what) + " failed (FreeType error " + std::to_string(error) + ")");
}

std::vector<uint8_t> BuildFont(const char* fontPath) {
    FT_Library library;
    Check(FT_Init_FreeType(&library), "FT_Init_FreeType");
    FT_Face face;
    Check(FT_New_Face(library, fontPath, 0, &face), fontPath);
    if (!FT_IS_SCALABLE(face)) throw std::runtime_error(std::string(fontPath) + " has no outlines");

    std::vector<uint8_t> out;
    std::array<double, kLastCode - kFirstCode + 1> leftBearing{}, rest{};
    const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        Collector collector{double(face->units_per_EM), {}, {}};
        const FT_UInt glyph = FT_Get_Char_Index(face, FT_ULong(code));  // Latin-1 codes are Unicode code points
        if (glyph != 0) {
            Check(FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP), "FT_Load_Glyph");
            if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
                Check(FT_Outline_Decompose(&face->glyph->outline, &funcs, &collector), "FT_Outline_Decompose");
            // The advance is split like a left bearing and the rest.
            const double em = face->units_per_EM;
            leftBearing[size_t(code - kFirstCode)] = face->glyph->metrics.horiBearingX / em;
            rest[size_t(code - kFirstCode)] = (face->glyph->metrics.horiAdvance - face->glyph->metrics.horiBearingX) / em;
        }
        PutInt32(out, int32_t(collector.strokes.size()));
        for (const Stroke& s : collector.strokes) {
            for (const Point& p : {s.p1, s.p2, s.p3}) {
                PutDouble(out, p.x);
                PutDouble(out, p.y);
            }
            PutInt32(out, s.kind);
            out.insert(out.end(), kRecordSize - 52, 0);
        }
    }
    for (double v : leftBearing) PutDouble(out, v);
    for (double v : rest) PutDouble(out, v);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FONT.ttf OUTPUT.mlf\n", argv[0]);
        return 2;
    }
    try {
        const std::vector<uint8_t> bytes = BuildFont(argv[1]);
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) throw std::runtime_error(std::string(argv[2]) + ": write failed");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
