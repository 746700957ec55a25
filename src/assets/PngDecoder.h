#pragma once
// A libpng decoder that never aborts: every libpng error comes back as a
// std::runtime_error carrying the library's message.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qw {

// 8-bit straight (not premultiplied) RGBA pixels, top row first.
struct DecodedImage {
    size_t width = 0;
    size_t height = 0;
    bool hasAlphaChannel = false;  // the file's colour type carries alpha
    std::vector<uint8_t> rgba;
};

class PngDecoder {
public:
    // Opens the file and reads its header, so the size can be checked before
    // any pixel is decoded. Throws std::runtime_error on failure.
    explicit PngDecoder(const std::string& fileName);
    // Decodes from a byte buffer that must outlive the decoder.
    explicit PngDecoder(std::span<const uint8_t> bytes);
    ~PngDecoder();
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    size_t width() const;
    size_t height() const;
    bool hasAlphaChannel() const;

    // Decodes the pixels once. Images without an alpha channel get alpha 255
    // everywhere: transparency chunks (tRNS) are ignored on purpose.
    DecodedImage Decode();

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Each colour channel c becomes (c * a + 127) / 255; alpha stays.
void ComposeOverBlack(DecodedImage& image);

// Bottom row first, bytes blue, green, red, alpha, as glTexImage2D wants them
// with GL_BGRA.
std::vector<uint8_t> BuildUploadBuffer(const DecodedImage& image);

// Decodes a whole file, rejecting images wider or higher than maxDimension.
DecodedImage DecodePngFile(const std::string& fileName, size_t maxDimension);

}  // namespace qw
