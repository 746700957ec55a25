#pragma once
// Skins made by the tests: every pixel can say where it came from.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "PngTestFiles.h"

namespace qw::test {

struct TRgba {
    uint8_t r, g, b, a;
};

inline std::vector<uint8_t> SkinPixels(int width, int height, const std::function<TRgba(int x, int y)>& pixel) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TRgba p = pixel(x, y);
            rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
        }
    }
    return rgba;
}

// Red is 4 x column, green 4 x row; blue tells the upper 32 rows (100) from
// any lower ones (200). Opaque.
inline TRgba CoordinatePixel(int x, int y) {
    return {static_cast<uint8_t>(4 * x), static_cast<uint8_t>(4 * y), static_cast<uint8_t>(y < 32 ? 100 : 200), 255};
}

inline void WriteSkin(const std::filesystem::path& path, int width, int height,
                      const std::function<TRgba(int x, int y)>& pixel = CoordinatePixel) {
    WriteRgbaPng(path, width, height, SkinPixels(width, height, pixel));
}

}  // namespace qw::test
