#include "RawWorldWriter.h"

#include "world/AtomicFile.h"
#include "world/FigureBlock.h"

namespace qw::tool {

void SaveRawWorld(const TGameState& state, const std::string& path) {
    AtomicFile out(path);
    // The grid in memory is already the file's little-endian byte image.
    out.Write(state.level.data(), kGridBytes);
    const auto figures = EncodeFigureBlock(state);
    out.Write(figures.data(), figures.size());
    out.Commit();
}

}  // namespace qw::tool
