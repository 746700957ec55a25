#pragma once
// The two default figures, painted into the 64 x 32 skin layout.
#include "PixelArt.h"

namespace qw::tools {

Canvas PaintPlayerSkin();
Canvas PaintOpponentSkin();

}  // namespace qw::tools
