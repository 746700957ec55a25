#include "assets/PngDecoder.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace qw {

struct PngDecoder::State {
    std::string name;  // put in front of every message
    std::FILE* file = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[256] = {};
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    bool decoded = false;

    ~State() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (file) std::fclose(file);
    }
    [[noreturn]] void Fail() const { throw std::runtime_error(name + ": " + message); }
};

namespace {

using State = PngDecoder::State;

// libpng would otherwise print to stderr or call abort(); we jump back to the
// setjmp of the running step and turn the message into an exception there.
[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    auto* state = static_cast<State*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "unknown libpng error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    auto* state = static_cast<State*>(png_get_io_ptr(png));
    if (state->file) {
        if (std::fread(out, 1, count, state->file) != count) png_error(png, "unexpected end of file");
        return;
    }
    if (state->size - state->pos < count) png_error(png, "unexpected end of data");
    std::memcpy(out, state->data + state->pos, count);
    state->pos += count;
}

// The functions that call setjmp hold no C++ objects with destructors, so the
// long jump skips nothing that needs cleaning up.
bool ReadHeader(State& s) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_set_read_fn(s.png, &s, ReadBytes);
    png_read_info(s.png, s.info);
    png_get_IHDR(s.png, s.info, &s.width, &s.height, &s.bitDepth, &s.colorType, nullptr, nullptr, nullptr);
    return true;
}

bool PrepareRows(State& s, size_t* rowBytes, png_byte* channels) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    if (s.bitDepth == 16) png_set_scale_16(s.png);
    if (s.bitDepth < 8) png_set_packing(s.png);  // one byte per sample, values kept
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    *rowBytes = png_get_rowbytes(s.png, s.info);
    *channels = png_get_channels(s.png, s.info);
    return true;
}

bool ReadRows(State& s, png_bytepp rows) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_read_image(s.png, rows);
    png_read_end(s.png, nullptr);
    return true;
}

bool ReadPalette(State& s, png_colorp* palette, int* count) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    if (png_get_PLTE(s.png, s.info, palette, count) == 0) png_error(s.png, "paletted image without palette");
    return true;
}

size_t CheckedProduct(size_t a, size_t b, const State& s) {
    if (a != 0 && b > std::numeric_limits<size_t>::max() / a)
        throw std::runtime_error(s.name + ": image too large");
    return a * b;
}

void Start(State& s) {
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnPngError, OnPngWarning);
    if (!s.png) throw std::runtime_error(s.name + ": cannot create PNG reader");
    s.info = png_create_info_struct(s.png);
    if (!s.info) throw std::runtime_error(s.name + ": cannot create PNG reader");
    if (!ReadHeader(s)) s.Fail();
}

}  // namespace

PngDecoder::PngDecoder(const std::string& fileName) : state_(std::make_unique<State>()) {
    state_->name = fileName;
    state_->file = std::fopen(fileName.c_str(), "rb");
    if (!state_->file) throw std::runtime_error(fileName + ": " + std::strerror(errno));
    Start(*state_);
}

PngDecoder::PngDecoder(std::span<const uint8_t> bytes) : state_(std::make_unique<State>()) {
    state_->name = "PNG data";
    state_->data = bytes.data();
    state_->size = bytes.size();
    Start(*state_);
}

PngDecoder::~PngDecoder() = default;

size_t PngDecoder::width() const { return state_->width; }
size_t PngDecoder::height() const { return state_->height; }
bool PngDecoder::hasAlphaChannel() const { return (state_->colorType & PNG_COLOR_MASK_ALPHA) != 0; }

DecodedImage PngDecoder::Decode() {
    State& s = *state_;
    if (s.decoded) throw std::logic_error(s.name + ": decoded twice");
    s.decoded = true;

    size_t rowBytes = 0;
    png_byte channels = 0;
    if (!PrepareRows(s, &rowBytes, &channels)) s.Fail();
    const size_t width = s.width;
    const size_t height = s.height;
    if (rowBytes < CheckedProduct(width, channels, s)) throw std::runtime_error(s.name + ": inconsistent row size");

    std::vector<png_byte> raw(CheckedProduct(rowBytes, height, s));
    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y) rows[y] = raw.data() + y * rowBytes;
    if (!ReadRows(s, rows.data())) s.Fail();

    png_colorp palette = nullptr;
    int paletteSize = 0;
    if (s.colorType == PNG_COLOR_TYPE_PALETTE && !ReadPalette(s, &palette, &paletteSize)) s.Fail();

    DecodedImage image;
    image.width = width;
    image.height = height;
    image.hasAlphaChannel = hasAlphaChannel();
    image.rgba.resize(CheckedProduct(CheckedProduct(width, height, s), 4, s));

    // Grey samples of 1, 2 or 4 bits are stretched to the full 0..255 range.
    const int greyMax = s.bitDepth < 8 ? (1 << s.bitDepth) - 1 : 255;
    for (size_t y = 0; y < height; ++y) {
        const png_byte* in = rows[y];
        uint8_t* out = image.rgba.data() + y * width * 4;
        for (size_t x = 0; x < width; ++x, in += channels, out += 4) {
            switch (s.colorType) {
            case PNG_COLOR_TYPE_GRAY:
                out[0] = out[1] = out[2] = static_cast<uint8_t>(in[0] * 255 / greyMax);
                out[3] = 255;
                break;
            case PNG_COLOR_TYPE_GRAY_ALPHA:
                out[0] = out[1] = out[2] = in[0];
                out[3] = in[1];
                break;
            case PNG_COLOR_TYPE_PALETTE:
                // An index past the palette's end shows black rather than
                // reading outside it.
                if (in[0] < paletteSize) {
                    out[0] = palette[in[0]].red;
                    out[1] = palette[in[0]].green;
                    out[2] = palette[in[0]].blue;
                } else {
                    out[0] = out[1] = out[2] = 0;
                }
                out[3] = 255;
                break;
            case PNG_COLOR_TYPE_RGB:
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = 255;
                break;
            default:  // PNG_COLOR_TYPE_RGB_ALPHA
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = in[3];
                break;
            }
        }
    }
    return image;
}

void ComposeOverBlack(DecodedImage& image) {
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        const unsigned a = image.rgba[i + 3];
        for (size_t c = 0; c < 3; ++c) image.rgba[i + c] = static_cast<uint8_t>((image.rgba[i + c] * a + 127) / 255);
    }
}

std::vector<uint8_t> BuildUploadBuffer(const DecodedImage& image) {
    const size_t w = image.width;
    const size_t h = image.height;
    std::vector<uint8_t> buffer(image.rgba.size());
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* in = image.rgba.data() + y * w * 4;
        uint8_t* out = buffer.data() + (h - 1 - y) * w * 4;
        for (size_t x = 0; x < w; ++x, in += 4, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
        }
    }
    return buffer;
}

DecodedImage DecodePngFile(const std::string& fileName, size_t maxDimension) {
    PngDecoder decoder(fileName);
    if (decoder.width() > maxDimension || decoder.height() > maxDimension)
        throw std::runtime_error(fileName + ": image of " + std::to_string(decoder.width()) + " x " +
                                 std::to_string(decoder.height()) + " pixels is larger than the maximum texture size " +
                                 std::to_string(maxDimension));
    return decoder.Decode();
}

}  // namespace qw
