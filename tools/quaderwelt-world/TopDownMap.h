#pragma once
// A top-down picture of a world: one square per column, coloured by the
// topmost non-empty cell's code and darker the lower that cell lies.
#include <cstdint>
#include <vector>

#include "world/Grid.h"

namespace qw::tool {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom, 3 bytes per pixel
    Rgb At(int x, int y) const;
};

inline constexpr int kMaxMapScale = 8;  // 1608 x 1608 pixels: a quarter of a grid in memory

// The colour of a cell code seen from above at full light. Codes the game
// does not know get a colour of their own too, so they show up.
Rgb CellColour(int32_t code);

// Cell x grows to the right and z downwards, so the view direction of a
// figure with heading 0 points up. Columns without any cell are black.
// scale is the square's side in pixels, 1 ... kMaxMapScale.
RgbImage RenderTopDownMap(const TLevel& level, int scale);

}  // namespace qw::tool
