#pragma once
// Looking at figures in tests: orthographic views along the axes, face
// textures that tell which face and which quarter of its picture a pixel
// shows, and a helper to find the pixel of a model point.
#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "support/OsMesaContext.h"
#include "world/GameState.h"

namespace qw::test {

// A camera as the three axes of the screen in model space: right, up, and
// the direction towards the viewer.
struct TView {
    std::array<float, 3> right, up, back;
};
inline constexpr TView kFromFront{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
inline constexpr TView kFromBehind{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
inline constexpr TView kFromPlusX{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
inline constexpr TView kFromMinusX{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
inline constexpr TView kFromAbove{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}};
inline constexpr TView kFromBelow{{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}};

inline constexpr uint32_t kSky = 0x0000ff;

enum Quadrant { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// 2 x 2 texels, nearest filtering; red tells the offset k, green the quarter.
inline uint32_t FaceColour(int k, int quadrant) {
    return static_cast<uint32_t>(40 + 5 * k) << 16 | static_cast<uint32_t>(30 + 60 * quadrant) << 8;
}
inline int FaceOf(uint32_t rgb) { return rgb & 0xff ? -1 : (static_cast<int>(rgb >> 16) - 40) / 5; }
inline int QuadrantOf(uint32_t rgb) { return (static_cast<int>(rgb >> 8 & 0xff) - 30) / 60; }

inline void MakeFaceTextures(TGameState& g, int base, bool overlayVisible) {
    for (int k = 0; k < 42; ++k) {
        std::vector<uint8_t> texels;
        // Bottom row first: bottom-left, bottom-right, top-left, top-right.
        for (int q : {kBottomLeft, kBottomRight, kTopLeft, kTopRight}) {
            const uint32_t c = FaceColour(k, q);
            const uint8_t alpha = k >= 36 && !overlayVisible ? 0 : 255;
            texels.insert(texels.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                         static_cast<uint8_t>(c), alpha});
        }
        glBindTexture(GL_TEXTURE_2D, g.texName[static_cast<size_t>(base + k)]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    }
}

// Orthographic pictures of a box from -halfWidth to halfWidth across and
// bottom to top upwards, pixelsPerUnit fine, with the game's culling,
// blending and texturing.
class FigureScene {
public:
    FigureScene(float halfWidth, float bottom, float top, int pixelsPerUnit)
        : halfWidth_(halfWidth), bottom_(bottom), top_(top), ppu_(pixelsPerUnit),
          context_(static_cast<int>(2 * halfWidth * static_cast<float>(pixelsPerUnit)),
                   static_cast<int>((top - bottom) * static_cast<float>(pixelsPerUnit))) {}
    OsMesaContext& context() { return context_; }

    // Clears to the sky and sets the camera; draw the figure after this.
    void Begin(const TView& view) {
        glViewport(0, 0, context_.width(), context_.height());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-halfWidth_, halfWidth_, bottom_, top_, -50, 50);
        glMatrixMode(GL_MODELVIEW);
        const auto& r = view.right;
        const auto& u = view.up;
        const auto& b = view.back;
        const float m[16] = {r[0], u[0], b[0], 0, r[1], u[1], b[1], 0, r[2], u[2], b[2], 0, 0, 0, 0, 1};
        glLoadMatrixf(m);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor3f(1, 1, 1);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // The colour (0xRRGGBB) where the model point (x, y, z) shows up.
    uint32_t At(const TView& view, float x, float y, float z) {
        const float ex = x * view.right[0] + y * view.right[1] + z * view.right[2];
        const float ey = x * view.up[0] + y * view.up[1] + z * view.up[2];
        const int px = static_cast<int>((ex + halfWidth_) * static_cast<float>(ppu_));
        const int py = static_cast<int>((ey - bottom_) * static_cast<float>(ppu_));
        if (px < 0 || py < 0 || px >= context_.width() || py >= context_.height()) return 0xffffffff;
        const std::vector<uint8_t>& p = context_.Pixels();
        const size_t i = (static_cast<size_t>(py) * static_cast<size_t>(context_.width()) + static_cast<size_t>(px)) * 4;
        return static_cast<uint32_t>(p[i]) << 16 | static_cast<uint32_t>(p[i + 1]) << 8 | p[i + 2];
    }

private:
    float halfWidth_, bottom_, top_;
    int ppu_;
    OsMesaContext context_;
};

}  // namespace qw::test
