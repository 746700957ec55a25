#include "world/ReferenceWorldGenerator.h"

namespace qw::test {
namespace {

int CountAround(const TLevel& level, int x, int z, int32_t code) {
    int count = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dz = -1; dz <= 1; ++dz)
            if ((dx != 0 || dz != 0) && level.at(x + dx, 0, z + dz) == code) ++count;
    return count;
}

void Ground(TLevel& level, RandomSource& rng) {
    for (int x = -100; x <= 100; ++x) {
        for (int z = -100; z <= 100; ++z) {
            for (int y = -100; y <= 0; ++y) {
                if (y == 0) {
                    int r = rng.Random(4);
                    if (r == 0) level.at(x, y, z) = 1;
                    if (r == 1) level.at(x, y, z) = 5;
                    if (r == 2) level.at(x, y, z) = 7;
                    if (r == 3) level.at(x, y, z) = 10;
                } else {
                    int r = rng.Random(7);
                    if (r <= 4) level.at(x, y, z) = 5;
                    if (r == 5) level.at(x, y, z) = 7;
                    if (r == 6) level.at(x, y, z) = 6;
                }
            }
        }
    }
}

void Smoothing(TLevel& level, RandomSource& rng) {
    bool swapped;
    do {
        swapped = false;
        for (int trial = 0; trial < 100001; ++trial) {
            int x1 = rng.Random(199) - 99;
            int z1 = rng.Random(199) - 99;
            int x2 = rng.Random(199) - 99;
            int z2 = rng.Random(199) - 99;
            int32_t d = level.at(x1, 0, z1);
            int32_t c = level.at(x2, 0, z2);
            if (c == d) continue;
            int a = CountAround(level, x1, z1, d);
            int b = CountAround(level, x1, z1, c);
            int cc = CountAround(level, x2, z2, c);
            int dd = CountAround(level, x2, z2, d);
            if (b > a && dd > cc) {
                level.at(x1, 0, z1) = c;
                level.at(x2, 0, z2) = d;
                swapped = true;
            }
        }
    } while (swapped);
}

void Hills(TLevel& level) {
    for (int x = -99; x <= 99; ++x) {
        for (int z = -99; z <= 99; ++z) {
            int32_t e = level.at(x, 0, z);
            if (e == 0) continue;
            int n = CountAround(level, x, z, e) / 2;
            if (n > 0 && e == 10) {
                level.at(x, n, z) = 10;
                for (int y = 0; y <= n - 1; ++y) level.at(x, y, z) = 5;
            }
        }
    }
}

void Houses(TLevel& level, RandomSource& rng) {
    int built = 0;
    while (built < 11) {
        int x0 = rng.Random(192) - 99;
        int z0 = rng.Random(192) - 99;
        bool free = true;
        for (int x = x0; x <= x0 + 7; ++x)
            for (int y = 1; y <= 7; ++y)
                for (int z = z0; z <= z0 + 7; ++z)
                    if (level.at(x, y, z) != 0) free = false;
        if (!free) continue;
        auto cell = [&](int u, int v, int w) -> int32_t& { return level.at(x0 + 2 + u, v, z0 + 2 + w); };
        for (int u = 0; u <= 5; ++u)
            for (int v = 0; v <= 5; ++v)
                for (int w = 0; w <= 5; ++w) {
                    if (u >= 1 && u <= 4 && w >= 1 && w <= 4 && v <= 4)
                        cell(u, v, w) = v == 0 ? 4 : 0;
                    else if (u == 0 && w == 2 && v <= 2)
                        cell(u, v, w) = v == 0 ? 4 : 0;
                    else
                        cell(u, v, w) = 3;
                }
        for (int u = 1; u <= 4; ++u)
            for (int w = 1; w <= 4; ++w) cell(u, 6, w) = 8;
        for (int u = 2; u <= 3; ++u)
            for (int w = 2; w <= 3; ++w) cell(u, 7, w) = 8;
        for (int u = -1; u <= 6; ++u)
            for (int w = -1; w <= 6; ++w)
                if (u == -1 || u == 6 || w == -1 || w == 6) cell(u, 0, w) = 4;
        ++built;
    }
}

}  // namespace

void GenerateWorldReference(TLevel& level, RandomSource& rng) {
    Ground(level, rng);
    Smoothing(level, rng);
    Hills(level);
    Houses(level, rng);
}

}  // namespace qw::test
