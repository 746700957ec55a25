#pragma once
// The world drawing the game uses. It draws the same picture as
// DrawCellsReference, but only faces that can be seen, from geometry kept in
// buffer objects between frames, batched by texture, nearest chunks first and
// without the chunks outside the view frustum.
//
// The cache notices changed cells by itself: each call compares every chunk
// it draws, with its border, against the grid and rebuilds only what differs.
// Nobody has to report edits, explosions or new rounds.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/ChunkMesh.h"
#include "render/Frustum.h"
#include "world/GameState.h"

namespace qw {

class TFastWorld {
public:
    TFastWorld();
    ~TFastWorld();
    TFastWorld(const TFastWorld&) = delete;
    TFastWorld& operator=(const TFastWorld&) = delete;

    // Draws the view's window of cells under the current camera and
    // projection. Leaves blending, lighting, culling, the texture environment
    // and the matrices as it found them; the bound texture may change.
    void DrawCells(const TGameState& g, int view);

    // Forgets all cached geometry and the texture transparency it read, for
    // when block textures were replaced.
    void Invalidate();

    // Deletes the buffer objects; call with the context current before it is
    // destroyed. The object can be used again afterwards.
    void ReleaseGL();

private:
    struct TWorldChunk {
        TChunkCells cells;
        TChunkMesh mesh;
        uint64_t version = 0;
        uint64_t usedAt = 0;
    };
    // One chunk's faces inside a view's window, in a buffer object.
    struct TViewChunk {
        unsigned buffer = 0;
        uint64_t version = 0;
        std::array<int, 3> clipLow{}, clipHigh{};
        std::array<uint32_t, kTextureGroups> first{}, count{};  // in faces
        std::vector<uint16_t> keys;                             // loop key per face
        uint64_t usedAt = 0;
    };
    // Where a chunk lies in the window: its cells with local index l sit at
    // unwrapped index origin + l; only local clipLow ... clipHigh are inside.
    struct TPlacement {
        TChunkId id;
        std::array<int64_t, 3> origin;
        std::array<int, 3> clipLow, clipHigh;
    };
    struct TVisibleChunk {
        TViewChunk* chunk;
        std::array<int64_t, 3> origin;
        double distance;
        std::array<uint32_t, kTextureGroups> cursor;  // faces drawn so far per group
    };
    struct TCellToBlend {
        std::array<int64_t, 3> at;  // unwrapped
        int32_t code;
        int64_t loopKey;
    };
    // A face drawn on its own: near the eye, or seen through a translucent cell.
    struct TLooseFace {
        int64_t loopKey;
        std::array<int64_t, 3> at;  // unwrapped cell
        int face;
        int slot;
    };
    struct TWindow {
        std::array<int64_t, 3> low, high;
        int64_t LoopKey(const std::array<int64_t, 3>& c) const;
        bool Contains(const std::array<int64_t, 3>& c) const;
    };

    void ReadTextureOpacity(const TGameState& g);
    TWorldChunk& CurrentWorldChunk(const TLevel& level, TChunkId id);
    void RebuildViewChunk(TViewChunk& vc, const TWorldChunk& wc, const TPlacement& p);
    std::vector<TPlacement> Placements(const TWindow& window) const;
    const TBlockLook* OpaqueLookAt(const TGameState& g, const TWindow& window, const std::array<int64_t, 3>& c) const;
    std::vector<TLooseFace> NearEyeFaces(const TGameState& g, const TWindow& window, const TVec3& eye,
                                         double reach) const;
    std::vector<TLooseFace> FacesSeenThroughBlends(const TGameState& g, const TWindow& window,
                                                   const std::vector<TCellToBlend>& blended,
                                                   const TFrustum& frustum) const;
    void DrawCellFace(const TGameState& g, const std::array<int64_t, 3>& at, int face, int slot);
    // Draws faces[next ...] up to the first one not before `beforeKey`; returns where it stopped.
    size_t DrawLooseFaces(const TGameState& g, const std::vector<TLooseFace>& faces, size_t next,
                          int64_t beforeKey);
    void DrawChunkPart(TVisibleChunk& v, const std::array<int64_t, 3>* before);
    void DrawBlendedCell(const TGameState& g, const TCellToBlend& cell);
    void BindTexture(unsigned name);
    void EvictUnused();

    std::vector<std::unique_ptr<TWorldChunk>> world_;
    std::array<std::vector<TViewChunk>, 2> views_;
    TTextureOpacity opacity_;
    bool opacityKnown_ = false;
    std::array<unsigned, kTextureGroups> textureNames_{};
    uint64_t nextVersion_ = 1;
    uint64_t drawCount_ = 0;
    unsigned boundTexture_ = 0;
    std::vector<float> vertexScratch_;
};

}  // namespace qw
