#pragma once
// Writes small PNG files of every colour type for the decoder tests.
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace qw::test {

struct PngImage {
    int width = 1;
    int height = 1;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> pixels;  // packed rows as libpng expects them, top row first
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;  // tRNS for paletted images
    bool transparentColour = false;     // tRNS for grey and RGB images
    png_color_16 transparent{};
};

inline void WritePng(const std::filesystem::path& path, const PngImage& image) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("libpng failed writing " + path.string());
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty())
        png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
    if (!image.paletteAlpha.empty())
        png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
    if (image.transparentColour) png_set_tRNS(png, info, nullptr, 0, &image.transparent);
    png_write_info(png, info);
    const size_t rowBytes = image.pixels.size() / static_cast<size_t>(image.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < image.height; ++y)
        rows.push_back(const_cast<png_bytep>(image.pixels.data() + static_cast<size_t>(y) * rowBytes));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// RGBA pixels, top row first.
inline void WriteRgbaPng(const std::filesystem::path& path, int width, int height, const std::vector<uint8_t>& rgba) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    image.pixels = rgba;
    WritePng(path, image);
}

// A fresh directory below the system's temporary folder, removed at the end.
class TempDir {
public:
    explicit TempDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("quaderwelt-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace qw::test
