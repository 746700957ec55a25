// Which faces a chunk keeps, and how it notices that cells changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "render/ChunkMesh.h"

namespace qw {
namespace {

TTextureOpacity AllOpaqueBut(std::initializer_list<int> slots) {
    TTextureOpacity o;
    o.opaque.fill(true);
    for (int slot : slots) o.opaque[static_cast<size_t>(TextureGroupOfSlot(slot))] = false;
    return o;
}

// The faces of the chunk's cell at grid index (x, y, z), as a bit per face A to F.
unsigned FacesOf(const TChunkMesh& mesh, const TChunkCells& cells, int x, int y, int z) {
    const int lx = x - ChunkStart(cells.id().x), ly = y - ChunkStart(cells.id().y), lz = z - ChunkStart(cells.id().z);
    unsigned bits = 0;
    for (const auto& group : mesh.faces)
        for (const TChunkFace& f : group)
            if (f.x == lx && f.y == ly && f.z == lz) bits |= 1u << f.face;
    return bits;
}

TChunkId ChunkAt(int x, int y, int z) { return {ChunkOfIndex(x), ChunkOfIndex(y), ChunkOfIndex(z)}; }

TEST(ChunkMesh, KeepsOnlyFacesThatOpaqueNeighboursDoNotCover) {
    auto level = std::make_unique<TLevel>();
    // A row of metal across the x seam, brick on top of one of them, fire
    // beside another and a code without a block list beside a third.
    for (int x : {98, 99, 100, -100, -99}) level->at(x, 0, 5) = 2;
    level->at(100, 1, 5) = 3;
    level->at(99, 0, 6) = 101;
    level->at(-100, 0, 4) = 42;
    TChunkCells cells;
    TChunkMesh mesh;
    const TTextureOpacity opacity = AllOpaqueBut({100});

    cells.Gather(*level, ChunkAt(100, 0, 5));
    BuildChunkMesh(cells, opacity, mesh);
    constexpr unsigned A = 1, B = 2, C = 4, D = 8, E = 16, F = 32;
    EXPECT_EQ(FacesOf(mesh, cells, 98, 0, 5), A | B | C | E | F);
    EXPECT_EQ(FacesOf(mesh, cells, 99, 0, 5), A | B | E | F);  // B: fire is no cover
    EXPECT_EQ(FacesOf(mesh, cells, 100, 0, 5), A | B | F);     // D: its neighbour is -100
    EXPECT_EQ(FacesOf(mesh, cells, 100, 1, 5), A | B | C | D | E);
    ASSERT_EQ(mesh.translucent.size(), 1u);
    EXPECT_EQ(mesh.translucent[0].code, 101);
    EXPECT_EQ(FacesOf(mesh, cells, 99, 0, 6), 0u);

    cells.Gather(*level, ChunkAt(-100, 0, 5));
    BuildChunkMesh(cells, opacity, mesh);
    EXPECT_EQ(FacesOf(mesh, cells, -100, 0, 5), A | B | E | F);  // A: no cover from code 42
    EXPECT_EQ(FacesOf(mesh, cells, -99, 0, 5), A | B | D | E | F);
    EXPECT_EQ(FacesOf(mesh, cells, -100, 0, 4), 0u);

    // Faces of each texture come in drawing-loop order.
    for (const auto& group : mesh.faces)
        EXPECT_TRUE(std::is_sorted(group.begin(), group.end(),
                                   [](const TChunkFace& a, const TChunkFace& b) { return a.LoopKey() < b.LoopKey(); }));
    // The grass look shows three textures.
    level->at(-90, 3, 5) = 1;
    cells.Gather(*level, ChunkAt(-90, 3, 5));
    BuildChunkMesh(cells, opacity, mesh);
    EXPECT_EQ(mesh.faces[static_cast<size_t>(TextureGroupOfSlot(102))].size(), 4u);
    EXPECT_EQ(mesh.faces[static_cast<size_t>(TextureGroupOfSlot(0))].size(), 1u);
    EXPECT_EQ(mesh.faces[static_cast<size_t>(TextureGroupOfSlot(4))].size(), 1u);
}

TEST(ChunkMesh, NoticesChangesInsideAndAroundTheChunk) {
    auto level = std::make_unique<TLevel>();
    TChunkCells cells;
    // The last chunk of each axis, whose border wraps round to index -100.
    const TChunkId id = ChunkAt(100, 100, 100);
    cells.Gather(*level, id);
    EXPECT_TRUE(cells.Matches(*level));
    const int changes[][3] = {{95, 95, 95}, {100, 100, 100}, {91, 95, 95}, {95, 95, -100},
                              {-100, 92, 92}, {95, 91, 100}, {-100, -100, -100}};
    for (const auto& c : changes) {
        level->at(c[0], c[1], c[2]) = 7;
        EXPECT_FALSE(cells.Matches(*level)) << c[0] << "," << c[1] << "," << c[2];
        cells.Gather(*level, id);
        EXPECT_TRUE(cells.Matches(*level));
    }
    // Cells two away from the chunk do not shape it.
    level->at(90, 95, 95) = 7;
    level->at(95, 95, -99) = 7;
    EXPECT_TRUE(cells.Matches(*level));
}

}  // namespace
}  // namespace qw
