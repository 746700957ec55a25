// The files of data/ as the game will meet them: the vector font read by a
// reader of its own, the skins' layout and the textures' orientation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "assets/PngDecoder.h"

namespace qw {
namespace {

const std::string kData = QUADERWELT_DATA_DIR "/";

struct StrokeRecord {
    double x1, y1, x2, y2, x3, y3;
    int32_t kind;
};

struct FontFile {
    std::map<int, std::vector<StrokeRecord>> glyphs;
    double advanceA[224];
    double advanceBC[224];
    double Advance(int code) const { return advanceA[code - 32] + advanceBC[code - 32]; }
};

// Reads the whole file strictly: every count, every 104-byte record, then
// exactly 2 x 224 doubles and nothing after them.
FontFile ReadFont(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    size_t pos = 0;
    auto take = [&](void* out, size_t n) {
        if (bytes.size() - pos < n) throw std::runtime_error("font file ends early at byte " + std::to_string(pos));
        std::memcpy(out, bytes.data() + pos, n);
        pos += n;
    };
    FontFile font;
    for (int code = 32; code <= 255; ++code) {
        int32_t count = 0;
        take(&count, 4);
        if (count < 0 || count > 10000) throw std::runtime_error("bad count for " + std::to_string(code));
        for (int32_t i = 0; i < count; ++i) {
            unsigned char record[104];
            take(record, sizeof record);
            StrokeRecord s;
            std::memcpy(&s, record, 48);
            std::memcpy(&s.kind, record + 48, 4);
            font.glyphs[code].push_back(s);
        }
    }
    take(font.advanceA, sizeof font.advanceA);
    take(font.advanceBC, sizeof font.advanceBC);
    if (pos != bytes.size()) throw std::runtime_error(std::to_string(bytes.size() - pos) + " bytes after the advances");
    return font;
}

TEST(ShippedFont, HasTheRecordLayoutAndGlyphsForGermanText) {
    const FontFile font = ReadFont(kData + "Arial.mlf");
    std::string needed = "0123456789";
    for (char c = 'A'; c <= 'Z'; ++c) needed += c;
    for (char c = 'a'; c <= 'z'; ++c) needed += c;
    needed += "!:.\xE4\xF6\xFC\xC4\xD6\xDC\xDF";  // ä ö ü Ä Ö Ü ß in Latin-1
    for (unsigned char c : needed) {
        const auto it = font.glyphs.find(c);
        ASSERT_TRUE(it != font.glyphs.end() && !it->second.empty()) << "no strokes for code " << int(c);
        EXPECT_GT(font.Advance(c), 0.1) << int(c);
        EXPECT_LT(font.Advance(c), 1.2) << int(c);
    }
    EXPECT_FALSE(font.glyphs.count(' ')) << "a space draws nothing";
    EXPECT_GT(font.Advance(' '), 0.1);

    for (const auto& [code, strokes] : font.glyphs) {
        // Outlines are closed: every stroke's end is some stroke's start.
        std::multiset<std::pair<double, double>> starts, ends;
        for (const StrokeRecord& s : strokes) {
            EXPECT_TRUE(s.kind == 0 || s.kind == 1) << code;
            for (double v : {s.x1, s.y1, s.x2, s.y2, s.x3, s.y3}) {
                ASSERT_TRUE(std::isfinite(v)) << code;
                EXPECT_LT(std::abs(v), 1.5) << code;
            }
            starts.insert({s.x1, s.y1});
            ends.insert({s.x2, s.y2});
        }
        EXPECT_EQ(starts, ends) << "open outline in code " << code;
    }
}

TEST(ShippedFont, BaselineIsAtZeroWithYDownAndTheLineTopAtMinusOne) {
    const FontFile font = ReadFont(kData + "Arial.mlf");
    auto extent = [&](int code, double* top, double* bottom) {
        *top = 1e9;
        *bottom = -1e9;
        for (const StrokeRecord& s : font.glyphs.at(code))
            for (double y : {s.y1, s.y2}) {
                *top = std::min(*top, y);
                *bottom = std::max(*bottom, y);
            }
    };
    double top, bottom;
    extent('H', &top, &bottom);
    EXPECT_NEAR(bottom, 0.0, 0.01);
    EXPECT_LT(top, -0.6);
    extent(0xC4, &top, &bottom);  // Ä: the dots stay inside the line
    EXPECT_GT(top, -1.0);
    extent('g', &top, &bottom);
    EXPECT_GT(bottom, 0.1);  // descender below the baseline
}

struct Rect {
    int x, y, w, h;
};

int CountAlpha(const DecodedImage& image, Rect r, bool opaque) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x) {
            const uint8_t a = image.rgba[(size_t(y) * image.width + size_t(x)) * 4 + 3];
            n += opaque ? a == 255 : a == 0;
        }
    return n;
}

TEST(ShippedSkins, BodyPartsAreOpaqueAndTheOverlayMostlyClear) {
    // Head, body, leg and arm boxes of the 64 x 32 layout; the overlay box.
    const Rect solid[] = {{8, 0, 16, 8}, {0, 8, 32, 8}, {20, 16, 16, 4}, {16, 20, 24, 12},
                          {4, 16, 8, 4}, {0, 20, 16, 12}, {44, 16, 8, 4}, {40, 20, 16, 12}};
    const Rect overlay[] = {{40, 0, 16, 8}, {32, 8, 32, 8}};
    std::vector<std::vector<uint8_t>> looks;
    for (const char* file : {"spieler.png", "gegner.png"}) {
        const DecodedImage skin = DecodePngFile(kData + file, 64);
        ASSERT_EQ(skin.width, 64u) << file;
        ASSERT_EQ(skin.height, 32u) << file;
        for (const Rect& r : solid) EXPECT_EQ(CountAlpha(skin, r, true), r.w * r.h) << file << " at " << r.x << "," << r.y;
        int clear = 0, covered = 0;
        for (const Rect& r : overlay) {
            clear += CountAlpha(skin, r, false);
            covered += CountAlpha(skin, r, true);
        }
        EXPECT_GT(covered, 8) << file << ": the overlay shows nothing";
        EXPECT_GT(clear, covered) << file << ": the overlay hides the head";
        looks.push_back(skin.rgba);
    }
    EXPECT_NE(looks[0], looks[1]);
}

TEST(ShippedTextures, BlocksAreOpaqueAndTheGrassBandLiesAlongTheLeftColumn) {
    for (const char* file : {"gras.png", "metal.png", "brick.png", "cobblestone.png", "dirt.png", "granite.png",
                             "sand.png", "wood.png", "fire.png", "emerald.png", "grasdirt.png"}) {
        const DecodedImage image = DecodePngFile(kData + file, 1024);
        EXPECT_EQ(image.width, image.height) << file;
        EXPECT_EQ(CountAlpha(image, {0, 0, int(image.width), int(image.height)}, true),
                  int(image.width * image.height))
            << file;
    }
    const DecodedImage weapon = DecodePngFile(kData + "waffe.png", 1024);
    EXPECT_GT(CountAlpha(weapon, {0, 0, int(weapon.width), int(weapon.height)}, false), 0);

    // The left column meets the top edge of a block's side: green there,
    // soil-coloured at the right.
    const DecodedImage side = DecodePngFile(kData + "grasdirt.png", 1024);
    auto column = [&](size_t x) {
        long red = 0, green = 0;
        for (size_t y = 0; y < side.height; ++y) {
            red += side.rgba[(y * side.width + x) * 4];
            green += side.rgba[(y * side.width + x) * 4 + 1];
        }
        return green - red;
    };
    EXPECT_GT(column(0), 0);
    EXPECT_LT(column(side.width - 1), 0);
}

}  // namespace
}  // namespace qw
