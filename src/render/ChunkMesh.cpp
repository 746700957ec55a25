#include "render/ChunkMesh.h"

#include <cstring>

namespace qw {

int TChunkCells::WorldIndex(int axis, int local) const {
    const int start = ChunkStart(axis == 0 ? id_.x : axis == 1 ? id_.y : id_.z);
    return WrapIndex(static_cast<int64_t>(start) + local);
}

void TChunkCells::Gather(const TLevel& level, TChunkId id) {
    id_ = id;
    length_ = {ChunkLength(id.x), ChunkLength(id.y), ChunkLength(id.z)};
    for (size_t a = 0; a < 3; ++a) span_[a] = static_cast<size_t>(length_[a] + 2);
    codes_.resize(span_[0] * span_[1] * span_[2]);
    size_t i = 0;
    for (int x = -1; x <= length_[0]; ++x) {
        const int wx = WorldIndex(0, x);
        for (int y = -1; y <= length_[1]; ++y) {
            const int wy = WorldIndex(1, y);
            for (int z = -1; z <= length_[2]; ++z) codes_[i++] = level.at(wx, wy, WorldIndex(2, z));
        }
    }
}

bool TChunkCells::Matches(const TLevel& level) const {
    // Each row along z is the chunk's own run of cells, contiguous in the
    // grid, between two border cells that may lie across the seam.
    const int zHead = WorldIndex(2, -1);
    const int zStart = WorldIndex(2, 0);
    const int zTail = WorldIndex(2, length_[2]);
    const size_t runBytes = static_cast<size_t>(length_[2]) * sizeof(int32_t);
    const int32_t* row = codes_.data();
    for (int x = -1; x <= length_[0]; ++x) {
        const int wx = WorldIndex(0, x);
        for (int y = -1; y <= length_[1]; ++y, row += span_[2]) {
            const int wy = WorldIndex(1, y);
            const int32_t* grid = level.data() + CellOffset(wx, wy, zStart);
            if (row[0] != level.at(wx, wy, zHead) || row[span_[2] - 1] != level.at(wx, wy, zTail) ||
                std::memcmp(row + 1, grid, runBytes) != 0)
                return false;
        }
    }
    return true;
}

void BuildChunkMesh(const TChunkCells& cells, const TTextureOpacity& opacity, TChunkMesh& mesh) {
    for (auto& group : mesh.faces) group.clear();
    mesh.translucent.clear();
    const auto opaqueAt = [&](int x, int y, int z) {
        const TBlockLook* look = BlockLookOfCode(cells.At(x, y, z));
        return look && opacity.LookIsOpaque(*look);
    };
    for (int y = 0; y < cells.length(1); ++y) {
        for (int x = 0; x < cells.length(0); ++x) {
            for (int z = 0; z < cells.length(2); ++z) {
                const int32_t code = cells.At(x, y, z);
                const TBlockLook* look = BlockLookOfCode(code);
                if (!look) continue;
                const auto ux = static_cast<uint8_t>(x), uy = static_cast<uint8_t>(y), uz = static_cast<uint8_t>(z);
                if (!opacity.LookIsOpaque(*look)) {
                    mesh.translucent.push_back({ux, uy, uz, code});
                    continue;
                }
                for (int face = kFaceA; face < kFaceCount; ++face) {
                    const TCellStep& step = kFaceNeighbour[static_cast<size_t>(face)];
                    if (opaqueAt(x + step.x, y + step.y, z + step.z)) continue;
                    const int group = TextureGroupOfSlot(FaceTexture(*look, face));
                    mesh.faces[static_cast<size_t>(group)].push_back({ux, uy, uz, static_cast<uint8_t>(face)});
                }
            }
        }
    }
}

}  // namespace qw
