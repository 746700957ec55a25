#include "PngWriter.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>

namespace qw::tools {

namespace {

// No C++ objects live in this frame, so libpng's long jump skips nothing.
bool WriteRows(FILE* file, int width, int height, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
        throw std::runtime_error(path + ": pixel buffer does not match the size");
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(rgba.data() + y * static_cast<size_t>(width) * 4);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error(path + ": cannot create");
    const bool written = WriteRows(file, width, height, rows.data());
    if (std::fclose(file) != 0 || !written) throw std::runtime_error(path + ": write failed");
}

}  // namespace qw::tools
