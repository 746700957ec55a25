#include "BlockArt.h"

namespace qw::tools {

namespace {

constexpr int N = kArtSize;

// Mostly fine grain with a softer, larger variation under it.
double Grain(int x, int y, uint32_t seed, double smoothShare) {
    return smoothShare * SmoothNoise(x, y, 4, N, seed) + (1 - smoothShare) * Noise(x, y, seed + 1);
}

const std::vector<Rgba> kGrassRamp{Hex(0x2E5A1A), Hex(0x3B7222), Hex(0x4A8A2B), Hex(0x59A034), Hex(0x6CB53F),
                                   Hex(0x86C955)};
const std::vector<Rgba> kDirtRamp{Hex(0x4A3020), Hex(0x5C3C27), Hex(0x6E482E), Hex(0x805535), Hex(0x92633F)};

}  // namespace

Canvas PaintGrass() {
    Canvas c(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            double v = Grain(x, y, 11, 0.5);
            if (Noise(x, y, 12) > 0.92) v = 0.99;  // sunlit blade tips
            c.at(x, y) = Ramp(kGrassRamp, v);
        }
    return c;
}

Canvas PaintDirt() {
    Canvas c(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) c.at(x, y) = Ramp(kDirtRamp, Grain(x, y, 21, 0.45));
    // A few pebbles and light crumbs.
    const int pebbles[][2] = {{3, 4}, {11, 2}, {8, 10}, {14, 13}, {1, 13}};
    for (auto [x, y] : pebbles) {
        c.at(x, y) = Hex(0x9A8C7C);
        c.at(x + 1, y) = Hex(0x857868);
        c.at(x, y + 1) = Hex(0x3E2818);
        c.at(x + 1, y + 1) = Hex(0x3E2818);
    }
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            if (Noise(x, y, 22) > 0.95) c.at(x, y) = Hex(0xA57A50);
    return c;
}

Canvas PaintGrassSide() {
    Canvas c = PaintDirt();
    for (int x = 0; x < N; ++x) {
        // Ragged lower edge of the turf, with a longer tuft now and then.
        int depth = 3 + (Noise(x, 0, 31) > 0.5 ? 1 : 0);
        if (Noise(x, 1, 31) > 0.8) depth += 2;
        for (int y = 0; y < depth; ++y) {
            double v = Grain(x, y, 11, 0.5) * 0.8 + 0.2 * (1 - double(y) / depth);
            c.at(x, y) = Ramp(kGrassRamp, v);
        }
        c.at(x, depth - 1) = Shade(c.at(x, depth - 1), 0.8);
        c.at(x, depth) = Shade(c.at(x, depth), 0.7);  // the turf's shadow on the soil
    }
    return c;
}

Canvas PaintSand() {
    const std::vector<Rgba> ramp{Hex(0xC8AF74), Hex(0xD4BD85), Hex(0xDEC993), Hex(0xE7D5A2), Hex(0xEFDFB1)};
    Canvas c(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            c.at(x, y) = Ramp(ramp, 0.35 * SmoothNoise(x, y, 8, N, 41) + 0.65 * Noise(x, y, 42));
            if (Noise(x, y, 43) > 0.94) c.at(x, y) = Hex(0xB0955E);
        }
    return c;
}

Canvas PaintMetal() {
    const Rgba base = Hex(0x99A0A6);
    Canvas c(N, N);
    for (int y = 0; y < N; ++y) {
        const double row = 0.94 + 0.1 * Noise(0, y, 51);  // brushed along the rows
        for (int x = 0; x < N; ++x) c.at(x, y) = Shade(base, row + 0.05 * Noise(x, y, 52));
    }
    // Two plates with bevelled edges.
    for (int i = 0; i < N; ++i) {
        c.at(i, 0) = Hex(0xD0D5D9);
        c.at(0, i) = Hex(0xC4C9CD);
        c.at(i, N - 1) = Hex(0x555B61);
        c.at(N - 1, i) = Hex(0x60666C);
        c.at(i, 7) = Hex(0x5A6066);
        c.at(i, 8) = Hex(0xC8CDD1);
    }
    c.at(0, N - 1) = c.at(N - 1, 0) = Hex(0x7D848A);
    c.at(0, 7) = Hex(0x7D848A);
    c.at(N - 1, 8) = Hex(0x7D848A);
    for (int ry : {3, 12})
        for (int rx : {3, 12}) {
            c.at(rx, ry) = Hex(0xE8ECEF);
            c.at(rx + 1, ry) = Hex(0xB4BABF);
            c.at(rx, ry + 1) = Hex(0xB4BABF);
            c.at(rx + 1, ry + 1) = Hex(0x4C5257);
        }
    return c;
}

Canvas PaintBrick() {
    const Rgba bricks[] = {Hex(0x9B3F2C), Hex(0xA94A33), Hex(0xB3533A), Hex(0x8F3828)};
    const Rgba mortar = Hex(0xB5AD9F);
    Canvas c(N, N);
    for (int y = 0; y < N; ++y) {
        const int course = y / 4;
        const int inCourse = y % 4;
        for (int x = 0; x < N; ++x) {
            const int shifted = x + (course % 2) * 4;
            const int brick = shifted / 8;
            const int inBrick = shifted % 8;
            if (inCourse == 3 || inBrick == 7) {
                c.at(x, y) = Shade(mortar, 0.92 + 0.12 * Noise(x, y, 61));
                continue;
            }
            Rgba col = bricks[Hash(brick, course, 62) % 4];
            double light = 0.94 + 0.12 * Noise(x, y, 63);
            if (inCourse == 0) light += 0.1;
            if (inCourse == 2) light -= 0.12;
            if (inBrick == 6) light -= 0.06;
            c.at(x, y) = Shade(col, light);
        }
    }
    return c;
}

Canvas PaintCobblestone() {
    // Stone centres on a jittered grid; the torus distance keeps the tiling seamless.
    struct Stone {
        double x, y, tone;
    };
    std::vector<Stone> stones;
    const int grid = 3;
    const double cell = double(N) / grid;
    for (int j = 0; j < grid; ++j)
        for (int i = 0; i < grid; ++i)
            stones.push_back({(i + 0.25 + 0.5 * Noise(i, j, 71)) * cell, (j + 0.25 + 0.5 * Noise(i, j, 72)) * cell,
                              Noise(i, j, 73)});
    const std::vector<Rgba> ramp{Hex(0x5E5E5E), Hex(0x6F6F6F), Hex(0x818181), Hex(0x939393), Hex(0xA6A6A6),
                                 Hex(0xB8B8B8)};
    Canvas c(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            double best = 1e9, second = 1e9;
            const Stone* nearest = nullptr;
            double dxBest = 0, dyBest = 0;
            for (const Stone& s : stones) {
                double dx = x + 0.5 - s.x, dy = y + 0.5 - s.y;
                dx -= N * std::round(dx / N);
                dy -= N * std::round(dy / N);
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < best) {
                    second = best;
                    best = d;
                    nearest = &s;
                    dxBest = dx;
                    dyBest = dy;
                } else if (d < second) {
                    second = d;
                }
            }
            if (second - best < 1.1) {
                c.at(x, y) = Noise(x, y, 74) > 0.5 ? Hex(0x3A3A3A) : Hex(0x454545);
                continue;
            }
            // Lit from the upper left: brighter where the offset points that way.
            const double lit = -(dxBest + dyBest) / (best + 1e-9) * std::min(1.0, best / 3.0);
            const double v = 0.25 + 0.35 * nearest->tone + 0.15 * lit + 0.2 * Noise(x, y, 75);
            c.at(x, y) = Ramp(ramp, v);
        }
    return c;
}

Canvas PaintGranite() {
    const std::vector<Rgba> ramp{Hex(0x8A6C61), Hex(0x9C7B6E), Hex(0xAE8A7C), Hex(0xBE9989), Hex(0xCCA897)};
    Canvas c(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            c.at(x, y) = Ramp(ramp, Grain(x, y, 81, 0.3));
            const double speck = Noise(x, y, 82);
            if (speck > 0.9) c.at(x, y) = Hex(0x4E403D);
            else if (speck < 0.07) c.at(x, y) = Hex(0xE4D3C8);
            else if (speck < 0.12) c.at(x, y) = Hex(0xC7796B);
        }
    return c;
}

Canvas PaintWood() {
    const Rgba boards[] = {Hex(0xA5733F), Hex(0x9A6936), Hex(0xAE7B45), Hex(0xA06E3A)};
    Canvas c(N, N);
    for (int y = 0; y < N; ++y) {
        const int board = y / 4;
        const int inBoard = y % 4;
        const int seam = int(Hash(board, 0, 91) % N);
        for (int x = 0; x < N; ++x) {
            // Grain runs along the board: noise stretched in x.
            const double grain = SmoothNoise(x * 0.5, y * 4.0, 4, N * 2, 92);
            double light = 0.86 + 0.24 * grain + 0.04 * Noise(x, y, 93);
            if (inBoard == 0) light += 0.08;
            Rgba col = Shade(boards[board], light);
            if (inBoard == 3) col = Hex(0x5E3E1F);  // gap between boards
            if (x == seam && inBoard != 3) col = Hex(0x6A4623);
            if ((x + 1) % N == seam && inBoard != 3) col = Shade(boards[board], 1.15);
            c.at(x, y) = col;
        }
        // Nail heads beside the seam.
        c.at(seam + 2, board * 4 + 1) = Hex(0x3F3F3F);
        c.at(seam - 2, board * 4 + 1) = Hex(0x3F3F3F);
    }
    return c;
}

Canvas PaintFire() {
    const std::vector<Rgba> ramp{Hex(0x8C1405), Hex(0xB82106), Hex(0xDB3B0A), Hex(0xF26914), Hex(0xFB9C25),
                                 Hex(0xFFC93A), Hex(0xFFE77A), Hex(0xFFF6C4)};
    Canvas c(N, N);
    for (int x = 0; x < N; ++x) {
        // A row of pointed tongues, one every four columns, of uneven height.
        const int phase = x % 4;
        const double tip = 1.5 + 5.0 * Noise(x / 4, 0, 101);
        const double top = tip + (phase == 1 || phase == 2 ? 0.0 : phase == 0 ? 3.0 : 2.0) + Noise(x, 1, 102);
        for (int y = 0; y < N; ++y) {
            if (y < top) {
                // Dark smoky air above the flames, with a rare spark.
                const double smoke = 0.5 + 0.5 * SmoothNoise(x, y, 4, N, 103);
                c.at(x, y) = Noise(x, y, 104) > 0.96 ? Hex(0xFFB040) : Shade(Hex(0x3A0A04), smoke + 0.4);
                continue;
            }
            const double heat = (y - top) / (N - top) + 0.12 * (Noise(x, y, 105) - 0.5);
            c.at(x, y) = Ramp(ramp, heat * 1.15);
        }
    }
    return c;
}

Canvas PaintEmerald() {
    Canvas c(N, N, Hex(0x0E5A30));
    const Rgba light = Hex(0x58E894), lit = Hex(0x34C872), mid = Hex(0x1FA65A), dark = Hex(0x11783F),
               deep = Hex(0x0A4F29);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            // Distance to the border decides the band; the side decides the light.
            const int band = std::min(std::min(x, y), std::min(N - 1 - x, N - 1 - y));
            const bool upperLeft = x + y < N - 1;
            Rgba col;
            if (band == 0) col = deep;
            else if (band <= 3) col = upperLeft ? (x < y ? lit : light) : (x < y ? dark : mid);
            else col = (x - y) % 4 == 0 || (x + y) % 6 == 0 ? lit : mid;
            c.at(x, y) = Shade(col, 0.96 + 0.08 * Noise(x, y, 111));
        }
    // Glints.
    for (auto [x, y] : {std::pair{5, 5}, std::pair{6, 4}, std::pair{4, 6}, std::pair{10, 9}, std::pair{12, 3}})
        c.at(x, y) = Hex(0xE6FFF0);
    return c;
}

Canvas PaintWeaponIcon() {
    // A rocket flying to the upper right, on a transparent ground.
    Canvas c(N, N);
    const double s = std::sqrt(0.5);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const double px = x + 0.5, py = N - (y + 0.5);  // y up
            const double along = (px + py) * s;             // 0 at lower left, ~22.6 at upper right
            const double across = (px - py) * s;            // > 0 below the axis
            const double w = std::abs(across);
            if (along > 20.5 && along < 22 && w < 0.9 * (22 - along)) c.at(x, y) = Hex(0xC8281E);
            else if (along > 16.5 && along <= 20.5 && w < 1.6 - 0.35 * (along - 16.5)) c.at(x, y) = Hex(0xE0342A);
            else if (along > 7 && along <= 16.5 && w < 1.6) c.at(x, y) = across < -0.5 ? Hex(0xF2F4F6)
                                                                          : across < 0.6 ? Hex(0xC9CED3)
                                                                                         : Hex(0x8E959C);
            else if (along > 6 && along <= 10 && w < 3.6 - 0.55 * (along - 6)) c.at(x, y) = Hex(0xB52219);
            else if (along > 2 && along <= 7 && w < 1.2 * (along - 2) / 5 + 0.4)
                c.at(x, y) = along > 5 ? Hex(0xFFE066) : along > 3.5 ? Hex(0xFF9A2A) : Hex(0xE8501A);
        }
    // A dark outline keeps the shape readable on any background.
    Canvas outlined = c;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            if (c.at(x, y).a != 0) continue;
            const bool edge = (x > 0 && c.at(x - 1, y).a) || (x < N - 1 && c.at(x + 1, y).a) ||
                              (y > 0 && c.at(x, y - 1).a) || (y < N - 1 && c.at(x, y + 1).a);
            if (edge) outlined.at(x, y) = Hex(0x26201C);
        }
    return outlined;
}

}  // namespace qw::tools
