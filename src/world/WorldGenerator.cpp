#include "world/WorldGenerator.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qw {
namespace {

constexpr std::array<int32_t, 4> kSurfaceByDraw = {kGrass, kDirt, kSand, kHillGrass};
constexpr std::array<int32_t, 7> kBelowByDraw = {kDirt, kDirt, kDirt, kDirt, kDirt, kSand, kGranite};

// Layer 0 as one byte per cell, x slowest and z fastest like the grid. The
// smoothing makes millions of trials on this layer alone; in the grid its rows
// lie 160 KB apart, here the whole layer is 40 KB and stays in the cache.
class SurfaceLayer {
public:
    static constexpr int kRow = kGridSize;

    SurfaceLayer() : codes_(kGridPlane) {}

    static int Index(int x, int z) { return (x + 100) * kRow + (z + 100); }
    uint8_t* data() { return codes_.data(); }
    uint8_t& at(int x, int z) { return codes_[Index(x, z)]; }

    void WriteTo(TLevel& level) const {
        for (int x = kGridMin; x <= kGridMax; ++x) {
            int32_t* row = &level.at(x, 0, kGridMin);
            const uint8_t* codes = &codes_[Index(x, kGridMin)];
            for (int k = 0; k < kRow; ++k) row[k] = codes[k];
        }
    }

private:
    std::vector<uint8_t> codes_;
};

// Offsets of the 8 neighbours in the layer. Every cell whose neighbours are
// counted lies in -99 ... 99, so none of them leaves the layer.
constexpr std::array<int, 8> kNeighbourOffsets = {
    -SurfaceLayer::kRow - 1, -SurfaceLayer::kRow, -SurfaceLayer::kRow + 1, -1, 1,
    SurfaceLayer::kRow - 1,  SurfaceLayer::kRow,  SurfaceLayer::kRow + 1};

inline int CountLike(const uint8_t* cell, uint8_t code) {
    int count = 0;
    for (int offset : kNeighbourOffsets) count += cell[offset] == code;
    return count;
}

// Phase 1: every column solid from -100 up to the surface at 0.
template <class Draw>
void LayGround(TLevel& level, SurfaceLayer& surface, Draw& draw) {
    for (int x = kGridMin; x <= kGridMax; ++x) {
        for (int z = kGridMin; z <= kGridMax; ++z) {
            int32_t* column = &level.at(x, kGridMin, z);
            for (int y = kGridMin; y < 0; ++y) {
                *column = kBelowByDraw[draw(7)];
                column += kGridSize;
            }
            int32_t code = kSurfaceByDraw[draw(4)];
            *column = code;
            surface.at(x, z) = static_cast<uint8_t>(code);
        }
    }
}

// Phase 2: swap two random surface cells when both end up among more cells of
// their own kind; batches of trials repeat until one batch swaps nothing.
//
// Most of the ~20 million trials swap nothing, so each cell keeps its
// neighbour counts of the four surface codes, packed one byte per code, and
// a trial reads two cells instead of eighteen. Counts are kept for every cell
// of the layer, over the neighbours inside it, so they stay exact when a swap
// next to the border updates them.
class SurfaceSmoothing {
public:
    explicit SurfaceSmoothing(SurfaceLayer& surface) : surface_(surface), kinds_(kGridPlane), counts_(kGridPlane) {
        const uint8_t* codes = surface_.data();
        for (std::size_t i = 0; i < kGridPlane; ++i) kinds_[i] = KindOf(codes[i]);
        for (int x = kGridMin; x <= kGridMax; ++x)
            for (int z = kGridMin; z <= kGridMax; ++z) {
                uint32_t packed = 0;
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dz = -1; dz <= 1; ++dz)
                        if ((dx != 0 || dz != 0) && InGrid(x + dx) && InGrid(z + dz))
                            packed += KindBit(kinds_[SurfaceLayer::Index(x + dx, z + dz)]);
                counts_[SurfaceLayer::Index(x, z)] = packed;
            }
    }

    template <class Draw>
    void Run(Draw& draw) {
        bool swapped = true;
        while (swapped) {
            swapped = false;
            for (int trial = 0; trial < kSmoothingTrialsPerBatch; ++trial) {
                int x1 = draw(199) - 99;
                int z1 = draw(199) - 99;
                int x2 = draw(199) - 99;
                int z2 = draw(199) - 99;
                int p1 = SurfaceLayer::Index(x1, z1);
                int p2 = SurfaceLayer::Index(x2, z2);
                unsigned d = kinds_[p1];
                unsigned c = kinds_[p2];
                // With c = d both sides compare a count with itself and fail,
                // so equal codes need no branch of their own.
                unsigned a = Count(counts_[p1], d);
                unsigned b = Count(counts_[p1], c);
                unsigned cc = Count(counts_[p2], c);
                unsigned dd = Count(counts_[p2], d);
                if ((b > a) & (dd > cc)) {
                    SetKind(p1, c);
                    SetKind(p2, d);
                    swapped = true;
                }
            }
        }
        uint8_t* codes = surface_.data();
        for (std::size_t i = 0; i < kGridPlane; ++i) codes[i] = static_cast<uint8_t>(kSurfaceByDraw[kinds_[i]]);
    }

private:
    // The index of a surface code in kSurfaceByDraw.
    static uint8_t KindOf(uint8_t code) {
        for (uint8_t kind = 0; kind < kSurfaceByDraw.size(); ++kind)
            if (kSurfaceByDraw[kind] == code) return kind;
        return 0;  // layer 0 holds only the four surface codes here
    }
    static uint32_t KindBit(unsigned kind) { return uint32_t{1} << (8 * kind); }
    static unsigned Count(uint32_t packed, unsigned kind) { return (packed >> (8 * kind)) & 0xffu; }

    void SetKind(int cell, unsigned kind) {
        // Exact in modular arithmetic: the old kind's byte is at least 1 in
        // every neighbour, because this cell is one of its neighbours.
        uint32_t change = KindBit(kind) - KindBit(kinds_[cell]);
        kinds_[cell] = static_cast<uint8_t>(kind);
        for (int offset : kNeighbourOffsets) counts_[cell + offset] += change;
    }

    SurfaceLayer& surface_;
    std::vector<uint8_t> kinds_;
    std::vector<uint32_t> counts_;
};

// Phase 3, in place: a hill-grass cell rises by half its like neighbours,
// dirt underneath. A raised cell turns to dirt at y = 0 before its later
// neighbours are looked at.
void RaiseHills(TLevel& level, SurfaceLayer& surface) {
    uint8_t* codes = surface.data();
    for (int x = kGridMin + 1; x <= kGridMax - 1; ++x) {
        for (int z = kGridMin + 1; z <= kGridMax - 1; ++z) {
            uint8_t* cell = codes + SurfaceLayer::Index(x, z);
            // Only hill grass is ever raised, so other codes need no count.
            if (*cell != kHillGrass) continue;
            int height = CountLike(cell, kHillGrass) / 2;
            if (height == 0) continue;
            level.at(x, height, z) = kHillGrass;
            *cell = kDirt;
            for (int y = 1; y < height; ++y) level.at(x, y, z) = kDirt;
        }
    }
}

// The body and everything on top of it, above the ground, must be empty.
bool HouseSiteIsFree(const TLevel& level, int x0, int z0) {
    for (int x = x0; x <= x0 + 7; ++x)
        for (int y = 1; y <= 7; ++y)
            for (int z = z0; z <= z0 + 7; ++z)
                if (level.at(x, y, z) != kEmpty) return false;
    return true;
}

// (bx, bz) is the corner u = w = 0 of the body; the door faces -x.
void BuildHouse(TLevel& level, int bx, int bz) {
    auto cell = [&](int u, int v, int w) -> int32_t& { return level.at(bx + u, v, bz + w); };
    for (int u = 0; u <= 5; ++u) {
        for (int v = 0; v <= 5; ++v) {
            for (int w = 0; w <= 5; ++w) {
                bool inside = u >= 1 && u <= 4 && w >= 1 && w <= 4 && v <= 4;
                bool doorColumn = u == 0 && w == 2 && v <= 2;
                if (inside || doorColumn)
                    cell(u, v, w) = v == 0 ? kCobblestone : kEmpty;
                else
                    cell(u, v, w) = kBrick;
            }
        }
    }
    for (int u = 1; u <= 4; ++u)
        for (int w = 1; w <= 4; ++w) cell(u, 6, w) = kWood;
    for (int u = 2; u <= 3; ++u)
        for (int w = 2; w <= 3; ++w) cell(u, 7, w) = kWood;
    for (int u = -1; u <= 6; ++u)
        for (int w = -1; w <= 6; ++w)
            if (u == -1 || u == 6 || w == -1 || w == 6) cell(u, 0, w) = kCobblestone;
}

// Phase 4.
template <class Draw>
void BuildHouses(TLevel& level, Draw& draw) {
    int built = 0;
    while (built < kHouseCount) {
        int x0 = draw(192) - 99;
        int z0 = draw(192) - 99;
        if (!HouseSiteIsFree(level, x0, z0)) continue;
        BuildHouse(level, x0 + 2, z0 + 2);
        ++built;
    }
}

template <class Draw>
void Generate(TLevel& level, Draw draw) {
    SurfaceLayer surface;
    LayGround(level, surface, draw);
    SurfaceSmoothing(surface).Run(draw);
    RaiseHills(level, surface);
    surface.WriteTo(level);
    BuildHouses(level, draw);
}

}  // namespace

void GenerateWorld(TLevel& level, RandomSource& rng) {
    // About 80 million draws: when the source is exactly the game's generator,
    // call it directly instead of through the virtual table each time.
    if (auto* game = dynamic_cast<GameRandom*>(&rng)) {
        Generate(level, [game](int n) { return game->Random(n); });
    } else {
        Generate(level, [&rng](int n) { return rng.Random(n); });
    }
}

}  // namespace qw
