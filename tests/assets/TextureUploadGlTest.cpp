// The texture loader against a real GL: what glGetTexImage reads back.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "assets/TextureLoader.h"
#include "PngTestFiles.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

class TextureUpload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
        glGenTextures(static_cast<GLsizei>(texName.size()), texName.data());
    }

    // Level 0 of texName[slot] as BGRA bytes, bottom row first.
    std::vector<uint8_t> ReadBack(int slot, GLint* width, GLint* height) {
        glBindTexture(GL_TEXTURE_2D, texName[static_cast<size_t>(slot)]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, height);
        std::vector<uint8_t> texels(static_cast<size_t>(*width) * static_cast<size_t>(*height) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!texels.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    test::OsMesaContext context{8, 8};
    test::TempDir dir{"texupload"};
    std::array<uint32_t, 1000> texName{};
};

TEST_F(TextureUpload, RgbaImageArrivesFlippedComposedAndWithLinearFilters) {
    // 3 x 2, top row: the translucent example, an invisible texel, an opaque one.
    test::WriteRgbaPng(dir / "t.png", 3, 2,
                       {200, 100, 50, 128, 90, 80, 70, 0, 1, 2, 3, 255,  //
                        10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255});
    LoadPngTexture((dir / "t.png").string(), 7, texName);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), texName[7]);
    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);

    GLint width = 0, height = 0;
    const auto texels = ReadBack(7, &width, &height);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    // GL row 0 (t = 0) is the bottom row of the picture.
    EXPECT_EQ(texels, (std::vector<uint8_t>{30, 20, 10, 255, 60, 50, 40, 255, 90, 80, 70, 255,  //
                                            25, 50, 100, 128, 0, 0, 0, 0, 3, 2, 1, 255}));
    GLint otherWidth = 0, otherHeight = 0;
    EXPECT_TRUE(ReadBack(6, &otherWidth, &otherHeight).empty()) << "a neighbouring slot got an image";
}

TEST_F(TextureUpload, PalettedImageWithTransparentEntriesIsUploadedOpaque) {
    test::PngImage image;
    image.width = 2;
    image.colorType = PNG_COLOR_TYPE_PALETTE;
    image.palette = {{255, 0, 0}, {0, 0, 255}};
    image.paletteAlpha = {0, 0};
    image.pixels = {0, 1};
    test::WritePng(dir / "p.png", image);
    LoadPngTexture((dir / "p.png").string(), 100, texName);
    GLint width = 0, height = 0;
    EXPECT_EQ(ReadBack(100, &width, &height), (std::vector<uint8_t>{0, 0, 255, 255, 255, 0, 0, 255}));
}

TEST_F(TextureUpload, ImageWiderThanTheGlAllowsIsRefused) {
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    ASSERT_GT(maxSize, 0);
    // A one-bit row stays tiny on disk however wide it is.
    test::PngImage image;
    image.width = maxSize + 1;
    image.colorType = PNG_COLOR_TYPE_GRAY;
    image.bitDepth = 1;
    image.pixels.assign(static_cast<size_t>(maxSize + 8) / 8, 0xAA);
    test::WritePng(dir / "wide.png", image);
    EXPECT_THROW(LoadPngTexture((dir / "wide.png").string(), 3, texName), std::runtime_error);
    GLint width = 0, height = 0;
    EXPECT_TRUE(ReadBack(3, &width, &height).empty());
}

TEST_F(TextureUpload, BlockTexturesLoadIntoTheirSlotsAndOneBadFileSparesTheRest) {
    for (const auto& entry : kBlockTextureFiles)
        test::WriteRgbaPng(dir / entry.file, 1, 1, {uint8_t(entry.slot), 0, 0, 255});
    std::ofstream(dir / "sand.png") << "not a picture";
    std::filesystem::remove(dir / "fire.png");

    try {
        LoadBlockTextures(dir.path().string() + "/", texName);
        ADD_FAILURE() << "broken files went unreported";
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("sand.png"), std::string::npos) << message;
        EXPECT_NE(message.find("fire.png"), std::string::npos) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    }
    for (const auto& entry : kBlockTextureFiles) {
        GLint width = 0, height = 0;
        const auto texels = ReadBack(entry.slot, &width, &height);
        if (entry.slot == 6 || entry.slot == 100) {
            EXPECT_TRUE(texels.empty()) << entry.file;
        } else {
            ASSERT_EQ(texels.size(), 4u) << entry.file;
            EXPECT_EQ(texels[2], entry.slot) << entry.file;
        }
    }
}

TEST_F(TextureUpload, ShippedBlockTexturesAllLoad) {
    EXPECT_NO_THROW(LoadBlockTextures(QUADERWELT_DATA_DIR "/", texName));
    for (const auto& entry : kBlockTextureFiles) {
        GLint width = 0, height = 0;
        ReadBack(entry.slot, &width, &height);
        EXPECT_GE(width, 16) << entry.file;
        EXPECT_GE(height, 16) << entry.file;
    }
}

}  // namespace
}  // namespace qw
