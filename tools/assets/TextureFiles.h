#pragma once
// Turns painted pictures into texture files in the orientation the game maps
// them with.
#include <cstdint>
#include <vector>

#include "PixelArt.h"

namespace qw::tools {

enum class Facing {
    // Painted as seen on a side face of a block. The game puts the image's
    // left column along the face's top edge and its top row along the face's
    // left edge, so the file holds the picture transposed.
    BlockFace,
    // Painted as seen in the material bar, where the image's left column
    // lies along the icon's top edge and its top row along the right edge.
    BarIcon,
    // Stored as painted (skins).
    Upright,
};

// RGBA bytes, top row first, each painted pixel repeated scale x scale times
// so the linear filter of the game only softens the borders between them.
std::vector<uint8_t> ImageBytes(const Canvas& art, Facing facing, int scale);

}  // namespace qw::tools
