#pragma once
// The pictures of the block textures, painted at 16 x 16 texels.
#include "PixelArt.h"

namespace qw::tools {

inline constexpr int kArtSize = 16;

// "Face" pictures are painted as they should appear on the side of a block
// (row 0 at the top edge); "icon" pictures as they should appear in the
// material bar.
Canvas PaintGrass();
Canvas PaintGrassSide();
Canvas PaintDirt();
Canvas PaintSand();
Canvas PaintMetal();
Canvas PaintBrick();
Canvas PaintCobblestone();
Canvas PaintGranite();
Canvas PaintWood();
Canvas PaintFire();
Canvas PaintEmerald();
Canvas PaintWeaponIcon();

}  // namespace qw::tools
