#include "TopDownMap.h"

#include <stdexcept>

namespace qw::tool {

Rgb RgbImage::At(int x, int y) const {
    const std::size_t i = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

Rgb CellColour(int32_t code) {
    switch (code) {
        case kGrass: return {86, 160, 58};
        case kMetal: return {175, 180, 188};
        case kBrick: return {160, 72, 52};
        case kCobblestone: return {122, 122, 122};
        case kDirt: return {128, 92, 60};
        case kGranite: return {168, 124, 112};
        case kSand: return {222, 206, 142};
        case kWood: return {152, 112, 64};
        case kWeaponBlock: return {70, 70, 84};
        case kHillGrass: return {108, 178, 74};
        case kFire1:
        case kFire2: return {244, 122, 24};
        case kEmerald: return {36, 226, 124};
        default: break;
    }
    // Unknown codes: a bright colour from the code's bits, never black.
    const auto bits = static_cast<uint32_t>(code) * 2654435761u;
    return {static_cast<uint8_t>(128 | (bits >> 24)), static_cast<uint8_t>(64 | (bits >> 16)),
            static_cast<uint8_t>(128 | (bits >> 8))};
}

RgbImage RenderTopDownMap(const TLevel& level, int scale) {
    if (scale < 1 || scale > kMaxMapScale) throw std::invalid_argument("map scale out of range");
    RgbImage image;
    image.width = kGridSize * scale;
    image.height = kGridSize * scale;
    image.pixels.assign(3 * static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
    for (int x = kGridMin; x <= kGridMax; ++x) {
        for (int z = kGridMin; z <= kGridMax; ++z) {
            int y = kGridMax;
            while (y >= kGridMin && level.at(x, y, z) == kEmpty) --y;
            if (y < kGridMin) continue;
            // From 40 % light at the bottom of the world to full light at the top.
            const double light = 0.4 + 0.6 * (y - kGridMin) / double(kGridMax - kGridMin);
            const Rgb full = CellColour(level.at(x, y, z));
            const Rgb shaded{static_cast<uint8_t>(full.r * light), static_cast<uint8_t>(full.g * light),
                             static_cast<uint8_t>(full.b * light)};
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                    const int px = (x - kGridMin) * scale + dx;
                    const int py = (z - kGridMin) * scale + dy;
                    const std::size_t i = 3 * (static_cast<std::size_t>(py) * static_cast<std::size_t>(image.width) +
                                               static_cast<std::size_t>(px));
                    image.pixels[i] = shaded.r;
                    image.pixels[i + 1] = shaded.g;
                    image.pixels[i + 2] = shaded.b;
                }
            }
        }
    }
    return image;
}

}  // namespace qw::tool
