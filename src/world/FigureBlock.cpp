#include "world/FigureBlock.h"

#include <bit>
#include <cstring>

namespace qw {

static_assert(std::endian::native == std::endian::little,
              "world files store little-endian values; this build copies them as they are in memory");

std::array<unsigned char, kFigureBlockBytes> EncodeFigureBlock(const TGameState& state) {
    std::array<unsigned char, kFigureBlockBytes> block{};
    for (std::size_t i = 0; i < kFigureFields.size(); ++i) {
        const double value = state.*kFigureFields[i].field;
        std::memcpy(block.data() + 8 * i, &value, 8);
    }
    return block;
}

}  // namespace qw
