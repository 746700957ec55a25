#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "world/AtomicFile.h"

namespace qw::tool {

namespace {

// Shared with libpng's callbacks. libpng reports errors by longjmp, which
// must not cross C++ frames, so the callbacks only copy plain data here.
struct PngOutput {
    std::vector<unsigned char>* bytes;
    char error[200];
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* output = static_cast<PngOutput*>(png_get_error_ptr(png));
    std::strncpy(output->error, message, sizeof output->error - 1);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, png_size_t size) {
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    bool full = false;
    try {
        output->bytes->insert(output->bytes->end(), data, data + size);
    } catch (const std::bad_alloc&) {
        full = true;
    }
    if (full) png_error(png, "out of memory");
}

void OnPngFlush(png_structp) {}

// Encodes into output.bytes; false with output.error set when libpng failed.
// Nothing with a destructor lives in this frame, so the longjmp back into it
// skips none.
bool EncodePng(const RgbImage& image, PngOutput& output) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, OnPngError, OnPngWarning);
    if (png == nullptr) {
        std::strcpy(output.error, "cannot start the PNG encoder");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        if (info == nullptr) std::strcpy(output.error, "cannot start the PNG encoder");
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &output, OnPngWrite, OnPngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t stride = 3 * static_cast<std::size_t>(image.width);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.pixels.data() + stride * static_cast<std::size_t>(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void SavePng(const RgbImage& image, const std::string& path) {
    std::vector<unsigned char> bytes;
    PngOutput output{&bytes, {}};
    if (!EncodePng(image, output)) throw std::runtime_error(std::string("PNG encoder: ") + output.error);
    AtomicFile out(path);
    out.Write(bytes.data(), bytes.size());
    out.Commit();
}

}  // namespace qw::tool
