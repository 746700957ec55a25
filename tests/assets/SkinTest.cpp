// Skins: reading, the size rule, and the 42 body-part textures cut from them.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <optional>

#include "SkinTestFiles.h"
#include "assets/Skin.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

struct Reports {
    std::vector<std::string> rejected, errors;
    TSkinReport report() {
        return {[this](const std::string& t) { rejected.push_back(t); },
                [this](const std::string& m) { errors.push_back(m); }};
    }
};

class SkinFile : public ::testing::Test {
protected:
    // Opens path and returns what was reported.
    Reports Open(const std::filesystem::path& path) {
        Reports reports;
        OpenThePng(*g, path.string(), reports.report());
        return reports;
    }
    // A valid PNG cut off inside its image data: the header is intact.
    std::filesystem::path Truncated(const std::string& name, int width, int height) {
        const auto path = dir / name;
        test::WriteSkin(path, width, height, [](int x, int y) {
            // Noise, so the image data is long enough to cut into.
            const unsigned v = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u;
            return test::TRgba{static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                               static_cast<uint8_t>(v >> 8), 255};
        });
        std::filesystem::resize_file(path, std::filesystem::file_size(path) - 200);
        return path;
    }
    std::unique_ptr<TGameState> g = std::make_unique<TGameState>();
    test::TempDir dir{"skin"};
};

TEST_F(SkinFile, TallSkinIsCroppedAndWrongSizesAreRejectedByTheHeader) {
    test::WriteSkin(dir / "tall.png", 64, 64);
    Reports tall = Open(dir / "tall.png");
    EXPECT_TRUE(tall.rejected.empty());
    EXPECT_TRUE(tall.errors.empty());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* p = &g->bit[static_cast<size_t>(y * 64 + x) * 4];
            ASSERT_EQ(p[0], 100) << x << "," << y;  // blue first; only upper rows
            ASSERT_EQ(p[1], 4 * y);
            ASSERT_EQ(p[2], 4 * x);
            ASSERT_EQ(p[3], 255);
        }
    }
    const auto accepted = g->bit;

    for (auto [w, h] : {std::pair{64, 48}, {128, 64}, {32, 32}, {64, 16}}) {
        const auto name = "wrong" + std::to_string(w) + "x" + std::to_string(h) + ".png";
        test::WriteSkin(dir / name, w, h, [](int, int) { return test::TRgba{1, 2, 3, 255}; });
        Reports wrong = Open(dir / name);
        ASSERT_EQ(wrong.rejected.size(), 1u) << name;
        EXPECT_EQ(wrong.rejected[0], "Diese Datei ist kein gültiger Minecraft Skin!");
        EXPECT_TRUE(wrong.errors.empty());
        EXPECT_EQ(g->bit, accepted) << name;
    }

    // Damaged pixel data behind a wrong-size header: the size decides first.
    Reports cutWrong = Open(Truncated("cutwrong.png", 128, 64));
    EXPECT_EQ(cutWrong.rejected.size(), 1u);
    EXPECT_TRUE(cutWrong.errors.empty());
    EXPECT_EQ(g->bit, accepted);
}

TEST_F(SkinFile, UnreadableFilesReportTheDecoderMessageAndKeepTheSkin) {
    test::WriteSkin(dir / "good.png", 64, 32);
    ASSERT_TRUE(Open(dir / "good.png").errors.empty());
    const auto accepted = g->bit;

    std::ofstream(dir / "text.png") << "not a picture at all";
    const std::filesystem::path cases[] = {Truncated("cut.png", 64, 32), dir / "text.png", dir / "missing.png"};
    for (const auto& path : cases) {
        Reports bad = Open(path);
        EXPECT_TRUE(bad.rejected.empty()) << path;
        ASSERT_EQ(bad.errors.size(), 1u) << path;
        EXPECT_NE(bad.errors[0].find(path.filename().string()), std::string::npos) << bad.errors[0];
        EXPECT_EQ(g->bit, accepted) << path;
    }
}

TEST_F(SkinFile, AlphaIsComposedOverBlackAndPicturesWithoutAlphaBringNone) {
    test::WriteSkin(dir / "alpha.png", 64, 32, [](int x, int y) {
        if (x == 0 && y == 0) return test::TRgba{200, 100, 50, 128};
        if (x == 1 && y == 0) return test::TRgba{200, 100, 50, 0};
        return test::TRgba{10, 20, 30, 255};
    });
    Open(dir / "alpha.png");
    EXPECT_EQ((std::vector<uint8_t>(g->bit.begin(), g->bit.begin() + 12)),
              (std::vector<uint8_t>{25, 50, 100, 128, 0, 0, 0, 0, 30, 20, 10, 255}));

    test::PngImage rgb;
    rgb.width = 64;
    rgb.height = 32;
    rgb.pixels.assign(64 * 32 * 3, 77);
    test::WritePng(dir / "rgb.png", rgb);
    Open(dir / "rgb.png");
    EXPECT_EQ(g->bit[0], 77);
    EXPECT_EQ(g->bit[3], 0);
    EXPECT_EQ(g->bit[g->bit.size() - 1], 0);
}

// Independently written down: the skin rectangle each body-part texture
// shows, and whether it is flipped left to right.
struct ExpectedCut {
    int x, y, w, h;
    bool mirrored;
};
constexpr ExpectedCut kHeadFront{8, 8, 8, 8, false}, kHeadPlusX{16, 8, 8, 8, false}, kHeadMinusX{0, 8, 8, 8, false},
    kHeadTop{8, 0, 8, 8, false}, kHeadBottom{16, 0, 8, 8, false}, kHeadBack{24, 8, 8, 8, false};
const ExpectedCut kExpected[42] = {
    kHeadFront, kHeadPlusX, kHeadMinusX, kHeadTop, kHeadBottom, kHeadBack,
    {20, 20, 8, 12, false}, {28, 20, 4, 12, false}, {16, 20, 4, 12, false},  // body front, +x, -x
    {20, 16, 8, 4, false}, {28, 16, 8, 4, false}, {32, 20, 8, 12, false},    // body top, bottom, back
    {44, 20, 4, 12, false}, {48, 20, 4, 12, false}, {40, 20, 4, 12, false},  // arm -x: front, inner, outer
    {44, 16, 4, 4, false}, {48, 16, 4, 4, true}, {52, 20, 4, 12, false},     // top, bottom (flipped), back
    {44, 20, 4, 12, true}, {40, 20, 4, 12, true}, {48, 20, 4, 12, true},     // arm +x: front, outer, inner
    {44, 16, 4, 4, true}, {48, 16, 4, 4, false}, {52, 20, 4, 12, true},      // top, bottom (plain), back
    {4, 20, 4, 12, false}, {8, 20, 4, 12, false}, {0, 20, 4, 12, false},     // leg -x: front, inner, outer
    {4, 16, 4, 4, false}, {8, 16, 4, 4, true}, {12, 20, 4, 12, false},       // top, bottom (flipped), back
    {4, 20, 4, 12, true}, {0, 20, 4, 12, true}, {8, 20, 4, 12, true},        // leg +x: front, outer, inner
    {4, 16, 4, 4, true}, {8, 16, 4, 4, false}, {12, 20, 4, 12, true},        // top, bottom (plain), back
    {40, 8, 8, 8, false}, {48, 8, 8, 8, false}, {32, 8, 8, 8, false},        // overlay front, +x, -x
    {40, 0, 8, 8, false}, {48, 0, 8, 8, false}, {56, 8, 8, 8, false},        // overlay top, bottom, back
};

// How many texels each of n source pixels covers, first pixel first.
std::vector<int> Coverage(const std::vector<int>& sources) {
    std::vector<int> counts;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (i == 0 || sources[i] != sources[i - 1]) counts.push_back(0);
        ++counts.back();
    }
    return counts;
}

std::vector<int> EvenCoverage(int n) { return std::vector<int>(static_cast<size_t>(n), 64 / n); }

TEST_F(SkinFile, EveryTexelComesFromItsPartInNearestNeighbourOrder) {
    test::WriteSkin(dir / "coords.png", 64, 32);
    Open(dir / "coords.png");
    alignas(4) std::array<uint8_t, kSkinTextureBytes> buffer{};
    for (int k = 0; k < 42; ++k) {
        SCOPED_TRACE("texture " + std::to_string(k));
        const ExpectedCut& e = kExpected[k];
        const bool overlay = k >= 36;
        const size_t bpt = overlay ? 4 : 3;
        ASSERT_EQ(CutSkinTexture(*g, k, buffer), 64 * 64 * bpt);
        std::vector<int> rowSources, columnSources;
        for (int i = 0; i < 64; ++i) {  // i = 0 is the top of the picture, the last row in memory
            for (int j = 0; j < 64; ++j) {
                const uint8_t* t = &buffer[static_cast<size_t>((63 - i) * 64 + j) * bpt];
                const int sx = t[0] / 4;
                const int sy = t[1] / 4;
                ASSERT_EQ(t[2], 100);
                ASSERT_GE(sx, e.x);
                ASSERT_LT(sx, e.x + e.w);
                ASSERT_GE(sy, e.y);
                ASSERT_LT(sy, e.y + e.h);
                if (overlay) {
                    ASSERT_EQ(t[3], 255);
                }
                if (j == 0) rowSources.push_back(sy);
                if (i == 0) columnSources.push_back(e.mirrored ? 2 * e.x + e.w - 1 - sx : sx);  // unflipped
            }
        }
        EXPECT_EQ(rowSources.front(), e.y);  // top skin row at t = 1
        EXPECT_TRUE(std::is_sorted(rowSources.begin(), rowSources.end()));
        EXPECT_TRUE(std::is_sorted(columnSources.begin(), columnSources.end()));
        EXPECT_EQ(columnSources.front(), e.x);
        EXPECT_EQ(Coverage(columnSources), EvenCoverage(e.w));
        if (e.h == 12) {
            EXPECT_EQ(Coverage(rowSources), (std::vector<int>{6, 5, 5, 6, 5, 5, 6, 5, 5, 6, 5, 5}));
        } else {
            EXPECT_EQ(Coverage(rowSources), EvenCoverage(e.h));
        }
    }
}

TEST_F(SkinFile, SelectTeilIgnoresUnknownParts) {
    SelectTeil(*g, 13);
    EXPECT_EQ((std::array{g->ofx, g->ofy, g->breit, g->hoch}), (std::array{28, 20, 4, 12}));
    SelectTeil(*g, 30);
    SelectTeil(*g, -1);
    EXPECT_EQ((std::array{g->ofx, g->ofy, g->breit, g->hoch}), (std::array{28, 20, 4, 12}));
}

class SkinTextures : public SkinFile {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
        glGenTextures(static_cast<GLsizei>(g->texName.size()), g->texName.data());
    }
    // Level 0 of a slot as RGBA bytes, bottom row first.
    std::vector<uint8_t> ReadBack(int slot, GLint* alphaBits) {
        glBindTexture(GL_TEXTURE_2D, g->texName[static_cast<size_t>(slot)]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, alphaBits);
        std::vector<uint8_t> texels(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!texels.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
    test::OsMesaContext context{4, 4};
};

TEST_F(SkinTextures, UploadsFortyTwoTexturesWithAlphaOnlyOnTheOverlay) {
    // Translucent everywhere, so opaque textures show that they dropped it.
    test::WriteSkin(dir / "coords.png", 64, 32, [](int x, int y) {
        test::TRgba p = test::CoordinatePixel(x, y);
        p.a = static_cast<uint8_t>(255 - x);
        return p;
    });
    Open(dir / "coords.png");
    InitSkinTextures(*g, 300);

    alignas(4) std::array<uint8_t, kSkinTextureBytes> cut{};
    for (int k = 0; k < 42; ++k) {
        SCOPED_TRACE("texture " + std::to_string(k));
        const size_t n = CutSkinTexture(*g, k, cut);
        const bool overlay = n == 64 * 64 * 4;
        EXPECT_EQ(overlay, k >= 36);
        GLint alphaBits = -1;
        const std::vector<uint8_t> texels = ReadBack(300 + k, &alphaBits);
        ASSERT_EQ(texels.size(), 64u * 64u * 4u);
        EXPECT_EQ(alphaBits > 0, overlay);
        GLint minFilter = 0, magFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(minFilter, GL_LINEAR);
        EXPECT_EQ(magFilter, GL_LINEAR);
        for (size_t t = 0; t < 64 * 64; ++t) {
            const uint8_t* c = &cut[t * (overlay ? 4 : 3)];
            ASSERT_EQ(texels[t * 4 + 0], c[0]) << t;
            ASSERT_EQ(texels[t * 4 + 1], c[1]) << t;
            ASSERT_EQ(texels[t * 4 + 2], c[2]) << t;
            ASSERT_EQ(texels[t * 4 + 3], overlay ? c[3] : 255) << t;
        }
        if (overlay) {
            EXPECT_LT(texels[3], 255);
        }
    }
    // The other figure's slots and the one past the end are left alone.
    GLint alphaBits = 0;
    EXPECT_TRUE(ReadBack(200, &alphaBits).empty());
    EXPECT_TRUE(ReadBack(342, &alphaBits).empty());
    EXPECT_THROW(InitSkinTextures(*g, 959), std::out_of_range);
    EXPECT_THROW(InitSkinTextures(*g, -1), std::out_of_range);
}

}  // namespace
}  // namespace qw
