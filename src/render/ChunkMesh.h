#pragma once
// The world cut into chunks, and the faces of a chunk that can be seen. No GL
// here: this is what the fast path caches between frames.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "render/BlockLook.h"
#include "world/Grid.h"

namespace qw {

// 201 cells per axis: twelve chunks of 16 and a last one of 9.
inline constexpr int kChunkSize = 16;
inline constexpr int kChunksPerAxis = (kGridSize + kChunkSize - 1) / kChunkSize;
inline constexpr int kChunkCount = kChunksPerAxis * kChunksPerAxis * kChunksPerAxis;

constexpr int ChunkStart(int chunk) { return kGridMin + chunk * kChunkSize; }
constexpr int ChunkLength(int chunk) { return std::min(kChunkSize, kGridMax + 1 - ChunkStart(chunk)); }
constexpr int ChunkOfIndex(int index) { return (index - kGridMin) / kChunkSize; }

struct TChunkId {
    int x, y, z;  // chunk numbers, 0 ... kChunksPerAxis - 1
    constexpr int Flat() const { return (x * kChunksPerAxis + y) * kChunksPerAxis + z; }
};

// The twelve block textures, numbered densely.
inline constexpr std::array<int, 12> kBlockTextureSlots{0, 1, 2, 3, 4, 5, 6, 7, 8, 100, 101, 102};
inline constexpr int kTextureGroups = static_cast<int>(kBlockTextureSlots.size());
constexpr int TextureGroupOfSlot(int slot) { return slot <= 8 ? slot : slot - 91; }

// Which block textures have no translucent texel.
struct TTextureOpacity {
    std::array<bool, kTextureGroups> opaque{};
    bool LookIsOpaque(const TBlockLook& look) const {
        return opaque[static_cast<size_t>(TextureGroupOfSlot(look.side))] &&
               opaque[static_cast<size_t>(TextureGroupOfSlot(look.top))] &&
               opaque[static_cast<size_t>(TextureGroupOfSlot(look.bottom))];
    }
};

// The codes of one chunk and of the cells around it (indices -1 ... length),
// copied from the grid with wrapping. Comparing it with the grid tells
// whether anything that shapes the chunk's faces has changed.
class TChunkCells {
public:
    void Gather(const TLevel& level, TChunkId id);
    bool Matches(const TLevel& level) const;
    TChunkId id() const { return id_; }
    int length(int axis) const { return length_[static_cast<size_t>(axis)]; }
    // Local indices -1 ... length.
    int32_t At(int x, int y, int z) const {
        return codes_[(static_cast<size_t>(x + 1) * span_[1] + static_cast<size_t>(y + 1)) * span_[2] +
                      static_cast<size_t>(z + 1)];
    }

private:
    // Grid index of local index -1 ... length along one axis.
    int WorldIndex(int axis, int local) const;
    TChunkId id_{};
    std::array<int, 3> length_{};
    std::array<size_t, 3> span_{};
    std::vector<int32_t> codes_;
};

// One visible face: its cell within the chunk and which of the faces A to F.
struct TChunkFace {
    uint8_t x, y, z, face;
    // Position of the cell in the drawing loop (y, then x, then z).
    uint16_t LoopKey() const { return static_cast<uint16_t>((y * kChunkSize + x) * kChunkSize + z); }
};

struct TChunkCell {
    uint8_t x, y, z;
    int32_t code;
    uint16_t LoopKey() const { return static_cast<uint16_t>((y * kChunkSize + x) * kChunkSize + z); }
};

struct TChunkMesh {
    // Faces of cells with opaque looks, per texture group, each in loop order.
    // A face toward a neighbour whose look is opaque is left out: it could
    // only be seen from inside that neighbour. The neighbour is taken from the
    // grid even where it lies outside a view's window and so is not drawn:
    // such a face points out of the window, away from an eye that is always
    // well inside it, and is culled anyway.
    std::array<std::vector<TChunkFace>, kTextureGroups> faces;
    // Cells whose look has translucent texels, in loop order; drawn whole.
    std::vector<TChunkCell> translucent;
};

void BuildChunkMesh(const TChunkCells& cells, const TTextureOpacity& opacity, TChunkMesh& mesh);

}  // namespace qw
