#include "RawWorldWriter.h"

#include <cstdint>
#include <stdexcept>

#include "world/AtomicFile.h"
#include "world/FigureBlock.h"
#include "world/WorldFile.h"

namespace qw::tool {

void SaveRawWorld(const TGameState& state, const std::string& path) {
    // Readers take a file that starts with the magic for the compressed
    // variant, so this raw file would not read back as the world.
    if (static_cast<uint32_t>(state.level.at(kGridMin, kGridMin, kGridMin)) == kWorldMagic)
        throw std::runtime_error(path + ": not written: the first cell holds the compressed file's magic, "
                                 "so a raw file could not be read back; keep the world compressed");
    AtomicFile out(path);
    // The grid in memory is already the file's little-endian byte image.
    out.Write(state.level.data(), kGridBytes);
    const auto figures = EncodeFigureBlock(state);
    out.Write(figures.data(), figures.size());
    out.Commit();
}

}  // namespace qw::tool
