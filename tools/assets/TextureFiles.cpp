#include "TextureFiles.h"

#include <stdexcept>

namespace qw::tools {

std::vector<uint8_t> ImageBytes(const Canvas& art, Facing facing, int scale) {
    if (facing != Facing::Upright && art.width() != art.height())
        throw std::invalid_argument("block pictures must be square");
    const int w = art.width() * scale;
    const int h = art.height() * scale;
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(w) * size_t(h) * 4);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const int c = col / scale, r = row / scale;
            Rgba p;
            switch (facing) {
            case Facing::BlockFace: p = art.at(r, c); break;
            case Facing::BarIcon: p = art.at(art.width() - 1 - r, c); break;
            case Facing::Upright: p = art.at(c, r); break;
            }
            bytes.insert(bytes.end(), {p.r, p.g, p.b, p.a});
        }
    return bytes;
}

}  // namespace qw::tools
