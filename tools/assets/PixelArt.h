#pragma once
// Small helpers for painting pixel art in code: colours, a canvas that wraps
// at its edges (so textures tile), and repeatable noise.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qw::tools {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

constexpr Rgba Hex(uint32_t rgb, uint8_t alpha = 255) {
    return {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), alpha};
}

inline constexpr Rgba kClear{0, 0, 0, 0};

inline Rgba Mix(Rgba a, Rgba b, double t) {
    auto lerp = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0))); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

// factor > 1 brightens, < 1 darkens.
inline Rgba Shade(Rgba c, double factor) {
    auto f = [factor](uint8_t v) { return uint8_t(std::clamp(std::lround(v * factor), 0L, 255L)); };
    return {f(c.r), f(c.g), f(c.b), c.a};
}

// A well-mixed 32-bit hash of a cell and a seed.
inline uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Uniform in [0, 1).
inline double Noise(int x, int y, uint32_t seed) { return (Hash(x, y, seed) & 0xFFFFFF) / double(0x1000000); }

// Smooth noise in [0, 1) on a lattice of cell size `cell`, periodic in `period`
// (a multiple of cell) so it tiles.
inline double SmoothNoise(double x, double y, int cell, int period, uint32_t seed) {
    const int cells = period / cell;
    const double gx = x / cell, gy = y / cell;
    const int x0 = int(std::floor(gx)), y0 = int(std::floor(gy));
    const double fx = gx - x0, fy = gy - y0;
    auto at = [&](int i, int j) { return Noise(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed); };
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double sx = smooth(fx), sy = smooth(fy);
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

class Canvas {
public:
    Canvas(int width, int height, Rgba fill = kClear)
        : width_(width), height_(height), pixels_(size_t(width) * size_t(height), fill) {}
    int width() const { return width_; }
    int height() const { return height_; }
    // Coordinates wrap around, so painting across an edge continues on the other side.
    Rgba& at(int x, int y) { return pixels_[Index(x, y)]; }
    Rgba at(int x, int y) const { return pixels_[Index(x, y)]; }
    void Rect(int x, int y, int w, int h, Rgba c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) at(i, j) = c;
    }
    // Copies `from` into this canvas with its top-left corner at (x, y).
    void Paste(const Canvas& from, int x, int y) {
        for (int j = 0; j < from.height(); ++j)
            for (int i = 0; i < from.width(); ++i) at(x + i, y + j) = from.at(i, j);
    }

private:
    size_t Index(int x, int y) const {
        x = ((x % width_) + width_) % width_;
        y = ((y % height_) + height_) % height_;
        return size_t(y) * size_t(width_) + size_t(x);
    }
    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

// Picks from a dark-to-light ramp with a value in [0, 1].
inline Rgba Ramp(const std::vector<Rgba>& ramp, double v) {
    const size_t i = size_t(std::clamp(v, 0.0, 0.999999) * double(ramp.size()));
    return ramp[i];
}

}  // namespace qw::tools
