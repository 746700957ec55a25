// Screenshots: the name series, and the JPEG read back from the file.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <jpeglib.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "PngTestFiles.h"
#include "assets/Screenshot.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

struct Jpeg {
    int width = 0, height = 0, components = 0;
    bool progressive = true;
    int firstLuminanceStep = 0;  // 3 for quality 90
    std::vector<uint8_t> rgb;    // top row first
    uint32_t At(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        return static_cast<uint32_t>(rgb[i]) << 16 | static_cast<uint32_t>(rgb[i + 1]) << 8 | rgb[i + 2];
    }
};

Jpeg ReadJpeg(const std::filesystem::path& path) {
    Jpeg out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    out.progressive = info.progressive_mode;
    out.firstLuminanceStep = info.quant_tbl_ptrs[0] ? info.quant_tbl_ptrs[0]->quantval[0] : 0;
    info.out_color_space = JCS_RGB;
    info.do_fancy_upsampling = FALSE;  // keeps the colours of one block inside it
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.components = info.num_components;
    out.rgb.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<size_t>(info.output_scanline) * static_cast<size_t>(out.width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return out;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(static_cast<int>(a >> shift & 0xff) - static_cast<int>(b >> shift & 0xff)) > 24) return false;
    }
    return true;
}

TEST(ScreenshotName, FirstFreeNumberIsTaken) {
    test::TempDir dir("shotnames");
    const std::string folder = dir.path().string();
    EXPECT_EQ(ScreenshotFileName(folder), folder + "/quaderwelt1.jpg");
    EXPECT_EQ(ScreenshotFileName(folder + "/"), folder + "/quaderwelt1.jpg");
    std::ofstream(dir / "quaderwelt1.jpg");
    std::ofstream(dir / "quaderwelt3.jpg");
    EXPECT_EQ(ScreenshotFileName(folder), folder + "/quaderwelt2.jpg");
    std::ofstream(dir / "quaderwelt2.jpg");
    EXPECT_EQ(ScreenshotFileName(folder), folder + "/quaderwelt4.jpg");
    std::filesystem::remove(dir / "quaderwelt1.jpg");  // a deleted picture frees its number
    EXPECT_EQ(ScreenshotFileName(folder), folder + "/quaderwelt1.jpg");
    EXPECT_EQ(ScreenshotFileName(""), "quaderwelt1.jpg");
}

class Screenshot : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
    }
    void Fill(int x, int y, int w, int h, float r, float g, float b) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, w, h);
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
    // 1366 x 3 bytes is no multiple of 4: a padded read would shear the picture.
    static constexpr int kWidth = 1366, kHeight = 32;
    test::OsMesaContext context{kWidth, kHeight};
    test::TempDir dir{"shots"};
};

TEST_F(Screenshot, PictureIsUnshearedTopRowFirstBaselineQuality90) {
    Fill(0, 0, kWidth, kHeight, 0, 0, 1);                       // blue
    // Bands on the encoder's 16-pixel blocks keep their colours exact.
    Fill(0, 16, kWidth, 16, 1, 0, 0);            // the top 16 rows red
    Fill(0, 0, 16, 16, 0, 1, 0);                 // a green band at the left
    Fill(kWidth - 16, 0, 16, 16, 1, 1, 1);       // a white band at the right
    glPixelStorei(GL_PACK_ALIGNMENT, 8);

    const std::string folder = (dir / "Bilder" / "neu").string();  // missing: made on demand
    const std::string name = TakeScreenshot(folder, kWidth, kHeight);
    EXPECT_EQ(name, folder + "/quaderwelt1.jpg");
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);

    const Jpeg jpeg = ReadJpeg(name);
    ASSERT_EQ(jpeg.width, kWidth);
    ASSERT_EQ(jpeg.height, kHeight);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_FALSE(jpeg.progressive);
    EXPECT_EQ(jpeg.firstLuminanceStep, 3);
    for (int y = 0; y < kHeight; ++y) {
        SCOPED_TRACE("row " + std::to_string(y));
        if (y < 16) {
            ASSERT_TRUE(Near(jpeg.At(4, y), 0xff0000)) << std::hex << jpeg.At(4, y);
            ASSERT_TRUE(Near(jpeg.At(kWidth / 2, y), 0xff0000));
            continue;
        }
        ASSERT_TRUE(Near(jpeg.At(4, y), 0x00ff00)) << std::hex << jpeg.At(4, y);
        ASSERT_TRUE(Near(jpeg.At(28, y), 0x0000ff)) << std::hex << jpeg.At(28, y);
        ASSERT_TRUE(Near(jpeg.At(kWidth - 28, y), 0x0000ff));
        ASSERT_TRUE(Near(jpeg.At(kWidth - 4, y), 0xffffff)) << std::hex << jpeg.At(kWidth - 4, y);
    }
    EXPECT_EQ(ScreenshotFileName(folder), folder + "/quaderwelt2.jpg");
}

TEST_F(Screenshot, UnwritableFolderRaisesTheErrorAndLeavesNoFile) {
    std::ofstream(dir / "afile") << "x";
    const std::string folder = (dir / "afile" / "pictures").string();
    EXPECT_THROW(TakeScreenshot(folder, kWidth, kHeight), std::runtime_error);
    try {
        SaveScreenshotJpeg(folder + "/quaderwelt1.jpg", kWidth, kHeight);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("quaderwelt1.jpg"), std::string::npos) << error.what();
    }
    EXPECT_THROW(SaveScreenshotJpeg((dir / "empty.jpg").string(), 0, kHeight), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.jpg"));
}

TEST_F(Screenshot, FullDiskRemovesTheHalfWrittenFile) {
    // Noise compresses badly, so the file grows past the size limit.
    std::vector<uint8_t> noise(static_cast<size_t>(kWidth) * kHeight * 3);
    std::mt19937 random(7);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2f(-1, -1);  // the lower-left corner under the identity matrices
    glDrawPixels(kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, noise.data());

    const std::string name = (dir / "quaderwelt1.jpg").string();
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        SaveScreenshotJpeg(name, kWidth, kHeight);
    } catch (const std::runtime_error& error) {
        message = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_NE(message.find(name), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(name));

    // With room again the same picture is written whole.
    EXPECT_TRUE(SaveScreenshotJpeg(name, kWidth, kHeight));
    EXPECT_GT(std::filesystem::file_size(name), 8192u);
    EXPECT_EQ(ReadJpeg(name).height, kHeight);
}

}  // namespace
}  // namespace qw
