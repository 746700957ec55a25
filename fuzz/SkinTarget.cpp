#include <array>
#include <memory>
#include <string>

#include "FuzzTargets.h"
#include "MemoryFile.h"
#include "assets/Skin.h"

namespace qw::fuzz {

void FeedSkin(Bytes bytes) {
    static const auto state = std::make_unique<TGameState>();
    TGameState& g = *state;
    g.bit.fill(0x5A);  // the skin accepted before

    MemoryFile file(bytes);
    bool accepted = true;
    TSkinReport report;
    report.rejected = [&](const std::string&) { accepted = false; };
    report.error = [&](const std::string&) { accepted = false; };
    OpenThePng(g, file.path(), report);
    if (!accepted) {
        for (uint8_t b : g.bit) Require(b == 0x5A, "a refused skin leaves the work bitmap alone");
    }
    // A refused skin still rebuilds the textures from the work bitmap.
    static std::array<uint8_t, kSkinTextureBytes> texture;
    for (int k = 0; k < kSkinTextureCount; ++k) CutSkinTexture(g, k, texture);
}

}  // namespace qw::fuzz
