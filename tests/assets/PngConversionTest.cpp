// Pixel conversion of the texture loader on PNG files of every colour type.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "assets/TextureLoader.h"
#include "PngTestFiles.h"

namespace qw {
namespace {

using test::PngImage;
using test::TempDir;
using test::WritePng;

constexpr size_t kNoLimit = 1 << 20;

// Decodes and composes as the loader does; returns RGBA, top row first.
std::vector<uint8_t> Converted(const std::filesystem::path& path, DecodedImage* out = nullptr) {
    DecodedImage image = DecodePngFile(path.string(), kNoLimit);
    ComposeOverBlack(image);
    if (out) *out = image;
    return image.rgba;
}

class PngConversion : public ::testing::Test {
protected:
    TempDir dir{"pngconv"};
};

TEST_F(PngConversion, ImagesWithoutAlphaChannelBecomeOpaqueEvenWithTransparencyChunks) {
    PngImage rgb;
    rgb.width = 2;
    rgb.colorType = PNG_COLOR_TYPE_RGB;
    rgb.pixels = {10, 20, 30, 40, 50, 60};
    rgb.transparentColour = true;
    rgb.transparent.red = 10;
    rgb.transparent.green = 20;
    rgb.transparent.blue = 30;
    WritePng(dir / "rgb.png", rgb);
    EXPECT_EQ(Converted(dir / "rgb.png"), (std::vector<uint8_t>{10, 20, 30, 255, 40, 50, 60, 255}));

    PngImage grey;
    grey.width = 3;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.pixels = {0, 128, 255};
    grey.transparentColour = true;
    grey.transparent.gray = 0;
    WritePng(dir / "grey.png", grey);
    EXPECT_EQ(Converted(dir / "grey.png"), (std::vector<uint8_t>{0, 0, 0, 255, 128, 128, 128, 255, 255, 255, 255, 255}));

    PngImage indexed;
    indexed.width = 3;
    indexed.colorType = PNG_COLOR_TYPE_PALETTE;
    indexed.palette = {{200, 0, 0}, {0, 150, 0}, {1, 2, 3}};
    indexed.pixels = {2, 0, 1};
    WritePng(dir / "indexed.png", indexed);
    const std::vector<uint8_t> expected{1, 2, 3, 255, 200, 0, 0, 255, 0, 150, 0, 255};
    EXPECT_EQ(Converted(dir / "indexed.png"), expected);

    indexed.paletteAlpha = {0, 64, 255};
    WritePng(dir / "indexed-trns.png", indexed);
    EXPECT_EQ(Converted(dir / "indexed-trns.png"), expected);
}

TEST_F(PngConversion, LowBitDepthsAreStretchedAndSixteenBitsAreScaled) {
    PngImage grey2;
    grey2.width = 4;
    grey2.colorType = PNG_COLOR_TYPE_GRAY;
    grey2.bitDepth = 2;
    grey2.pixels = {0b00011011};  // samples 0, 1, 2, 3
    WritePng(dir / "grey2.png", grey2);
    const auto grey = Converted(dir / "grey2.png");
    ASSERT_EQ(grey.size(), 16u);
    EXPECT_EQ(grey[0], 0);
    EXPECT_EQ(grey[4], 85);
    EXPECT_EQ(grey[8], 170);
    EXPECT_EQ(grey[12], 255);

    PngImage indexed1;
    indexed1.width = 9;  // the ninth pixel starts a second byte
    indexed1.colorType = PNG_COLOR_TYPE_PALETTE;
    indexed1.bitDepth = 1;
    indexed1.palette = {{9, 9, 9}, {250, 240, 230}};
    indexed1.pixels = {0b10000001, 0b10000000};
    WritePng(dir / "indexed1.png", indexed1);
    const auto bits = Converted(dir / "indexed1.png");
    ASSERT_EQ(bits.size(), 36u);
    EXPECT_EQ(bits[0], 250);
    EXPECT_EQ(bits[4], 9);
    EXPECT_EQ(bits[28], 250);
    EXPECT_EQ(bits[32], 250);

    PngImage deep;
    deep.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.bitDepth = 16;
    deep.pixels = {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    WritePng(dir / "deep.png", deep);
    EXPECT_EQ(Converted(dir / "deep.png"), (std::vector<uint8_t>{255, 128, 0, 255}));
}

TEST_F(PngConversion, AlphaChannelIsKeptAndColourComposedOverBlack) {
    test::WriteRgbaPng(dir / "rgba.png", 3, 1, {200, 100, 50, 128, 90, 80, 70, 0, 1, 2, 3, 255});
    EXPECT_EQ(Converted(dir / "rgba.png"), (std::vector<uint8_t>{100, 50, 25, 128, 0, 0, 0, 0, 1, 2, 3, 255}));

    PngImage greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.pixels = {255, 1, 100, 255};
    WritePng(dir / "greyalpha.png", greyAlpha);
    EXPECT_EQ(Converted(dir / "greyalpha.png"), (std::vector<uint8_t>{1, 1, 1, 1, 100, 100, 100, 255}));
}

TEST_F(PngConversion, UploadBufferIsBottomUpBgraAtAnySize) {
    // 3 x 5: neither side a power of two; every pixel distinct.
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) rgba.insert(rgba.end(), {uint8_t(x), uint8_t(y), uint8_t(10 * x + y), 255});
    test::WriteRgbaPng(dir / "odd.png", 3, 5, rgba);
    DecodedImage image;
    Converted(dir / "odd.png", &image);
    ASSERT_EQ(image.width, 3u);
    ASSERT_EQ(image.height, 5u);
    const auto upload = BuildUploadBuffer(image);
    ASSERT_EQ(upload.size(), 60u);
    for (size_t y = 0; y < 5; ++y)
        for (size_t x = 0; x < 3; ++x) {
            const uint8_t* texel = &upload[((4 - y) * 3 + x) * 4];
            EXPECT_EQ(texel[0], 10 * x + y) << x << "," << y;  // blue
            EXPECT_EQ(texel[1], y);
            EXPECT_EQ(texel[2], x);
            EXPECT_EQ(texel[3], 255);
        }
}

TEST_F(PngConversion, InterlacedImageDecodesLikeItsPlainTwin) {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 9 * 7; ++i) rgb.insert(rgb.end(), {uint8_t(i), uint8_t(3 * i), uint8_t(255 - i)});
    PngImage image;
    image.width = 9;
    image.height = 7;
    image.pixels = rgb;
    WritePng(dir / "plain.png", image);
    image.interlaced = true;
    WritePng(dir / "adam7.png", image);
    EXPECT_EQ(Converted(dir / "plain.png"), Converted(dir / "adam7.png"));
}

void ExpectDecodeError(const std::filesystem::path& path, size_t limit = kNoLimit) {
    try {
        DecodePngFile(path.string(), limit);
        ADD_FAILURE() << "no error for " << path;
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(path.filename().string()), std::string::npos) << message;
        EXPECT_GT(message.size(), path.string().size() + 2) << message;
    }
}

std::vector<char> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const std::filesystem::path& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(PngConversion, BrokenFilesGiveAnErrorWithAMessage) {
    std::vector<uint8_t> rgba(16 * 16 * 4, 77);
    test::WriteRgbaPng(dir / "good.png", 16, 16, rgba);
    const std::vector<char> good = ReadAll(dir / "good.png");

    ExpectDecodeError(dir / "missing.png");

    std::vector<char> damaged = good;
    for (size_t i = 40; i < damaged.size() - 20; i += 3) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    WriteAll(dir / "damaged.png", damaged);
    ExpectDecodeError(dir / "damaged.png");

    for (size_t length : {size_t{0}, size_t{5}, size_t{20}, size_t{40}, good.size() / 2, good.size() - 13}) {
        WriteAll(dir / "truncated.png", std::vector<char>(good.begin(), good.begin() + static_cast<long>(length)));
        ExpectDecodeError(dir / "truncated.png");
    }

    WriteAll(dir / "text.png", std::vector<char>{'h', 'e', 'l', 'l', 'o'});
    ExpectDecodeError(dir / "text.png");

    // The size is refused from the header alone.
    ExpectDecodeError(dir / "good.png", 15);
}

TEST_F(PngConversion, DecodingFromMemoryAndHeaderPeek) {
    test::WriteRgbaPng(dir / "mem.png", 2, 3, std::vector<uint8_t>(24, 200));
    const std::vector<char> bytes = ReadAll(dir / "mem.png");
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    PngDecoder decoder{std::span<const uint8_t>(data)};
    EXPECT_EQ(decoder.width(), 2u);
    EXPECT_EQ(decoder.height(), 3u);
    EXPECT_TRUE(decoder.hasAlphaChannel());
    EXPECT_EQ(decoder.Decode().rgba, std::vector<uint8_t>(24, 200));

    data.resize(data.size() - 30);
    EXPECT_THROW(PngDecoder{std::span<const uint8_t>(data)}.Decode(), std::runtime_error);
}

}  // namespace
}  // namespace qw
