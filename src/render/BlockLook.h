#pragma once
// How each cell code looks: which display list draws it and which texture
// slots its faces use, plus the face table every cube and box is built from.
#include <array>
#include <cstdint>

namespace qw {

struct TBlockLook {
    int listOffset;  // from listIndex
    int side;        // texName slot of the four vertical faces
    int top;         // face at y = 4
    int bottom;      // face at y = 0
};

// In the order the lists are compiled.
inline constexpr std::array<TBlockLook, 13> kBlockLooks{{
    {0, 102, 0, 4},
    {9, 102, 0, 4},
    {1, 1, 1, 1},
    {2, 2, 2, 2},
    {3, 3, 3, 3},
    {4, 4, 4, 4},
    {5, 5, 5, 5},
    {6, 6, 6, 6},
    {7, 7, 7, 7},
    {8, 8, 8, 8},
    {100, 100, 100, 100},
    {101, 101, 101, 101},
    {102, 100, 100, 100},
}};

// The look of a cell code, or nullptr when no list was compiled for it (the
// cell is then drawn as nothing). Any 32-bit value is safe to pass: the code
// is checked before a list offset is formed from it.
constexpr const TBlockLook* BlockLookOfCode(int32_t code) {
    // kBlockLooks lists codes 1 and 10 first, then 2 ... 9 at their own index.
    if (code == 1) return &kBlockLooks[0];
    if (code == 10) return &kBlockLooks[1];
    if (code >= 2 && code <= 9) return &kBlockLooks[static_cast<size_t>(code)];
    if (code >= 101 && code <= 103) return &kBlockLooks[static_cast<size_t>(code - 91)];
    return nullptr;
}

// The six faces of a box, in drawing order A to F. Each corner picks the first
// (0) or the second (1) box corner per axis.
enum TBoxFace { kFaceA, kFaceB, kFaceC, kFaceD, kFaceE, kFaceF, kFaceCount };

struct TFaceCorner {
    uint8_t x, y, z;
};

inline constexpr std::array<std::array<TFaceCorner, 4>, kFaceCount> kBoxFaceCorners{{
    {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}},  // A: z = z1
    {{{1, 0, 1}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}}},  // B: z = z2
    {{{0, 0, 1}, {0, 0, 0}, {0, 1, 0}, {0, 1, 1}}},  // C: x = x1
    {{{1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}}},  // D: x = x2
    {{{0, 0, 1}, {1, 0, 1}, {1, 0, 0}, {0, 0, 0}}},  // E: y = y1
    {{{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}}},  // F: y = y2
}};

// Texture coordinates of the four corners, as multiples of the repeat t.
inline constexpr std::array<std::array<uint8_t, 2>, 4> kQuadTexCoords{{{0, 0}, {0, 1}, {1, 1}, {1, 0}}};

// On the standard cube (x 0..4, y 4..0, z 0..4) each face looks toward one
// neighbour cell; these are the steps to it.
struct TCellStep {
    int8_t x, y, z;
};
inline constexpr std::array<TCellStep, kFaceCount> kFaceNeighbour{{
    {0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0},
}};

// The texture slot a face of the standard cube shows.
constexpr int FaceTexture(const TBlockLook& look, int face) {
    return face == kFaceE ? look.top : face == kFaceF ? look.bottom : look.side;
}

}  // namespace qw
