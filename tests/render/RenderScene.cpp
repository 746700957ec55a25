#include "RenderScene.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "world/Grid.h"

namespace qw::test {

namespace {

constexpr std::array<int, 12> kSlots{0, 1, 2, 3, 4, 5, 6, 7, 8, 100, 101, 102};

void Upload(const TGameState& g, int slot, int size, const std::vector<uint8_t>& bgra) {
    glBindTexture(GL_TEXTURE_2D, g.texName[static_cast<size_t>(slot)]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
}

// A small deterministic hash for scattering blocks.
uint32_t Hash(int x, int y, int z) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
                 static_cast<uint32_t>(z) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

void Scatter(TLevel& level, int x0, int x1, int z0, int z1) {
    // Codes with and without a block list, fire and the weapon block.
    constexpr std::array<int32_t, 16> kCodes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 101, 103, 11, 50, -7,
                                             std::numeric_limits<int32_t>::max()};
    for (int x = x0; x <= x1; ++x)
        for (int z = z0; z <= z1; ++z)
            for (int y = 1; y <= 6; ++y) {
                const uint32_t h = Hash(x, y, z);
                if (h % 100 < 7) level.wrapped(x, y, z) = kCodes[(h >> 8) % kCodes.size()];
            }
}

}  // namespace

void MakeBlockTextures(TGameState& g, std::initializer_list<int> translucent) {
    glGenTextures(static_cast<GLsizei>(g.texName.size()), g.texName.data());
    constexpr int kSize = 8;
    for (size_t i = 0; i < kSlots.size(); ++i) {
        const int slot = kSlots[i];
        const bool seeThrough = std::find(translucent.begin(), translucent.end(), slot) != translucent.end();
        std::vector<uint8_t> bgra;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const auto base = static_cast<uint8_t>(40 + 17 * i);
                bgra.push_back(static_cast<uint8_t>(base + 12 * x));                // blue
                bgra.push_back(static_cast<uint8_t>(255 - 9 * i - 14 * y));          // green
                bgra.push_back(static_cast<uint8_t>((i * 53 + (x ^ y) * 11) & 255));  // red
                bgra.push_back(seeThrough ? static_cast<uint8_t>(((x + y) % 3) * 255 / 2) : 255);
            }
        Upload(g, slot, kSize, bgra);
    }
}

uint32_t SolidColourOfSlot(int slot) {
    const auto i = static_cast<uint32_t>(std::find(kSlots.begin(), kSlots.end(), slot) - kSlots.begin());
    return ((20 * i + 10) << 16) | ((250 - 20 * i) << 8) | ((i * 97) & 255);
}

void MakeSolidBlockTextures(TGameState& g) {
    glGenTextures(static_cast<GLsizei>(g.texName.size()), g.texName.data());
    for (int slot : kSlots) {
        const uint32_t c = SolidColourOfSlot(slot);
        const std::vector<uint8_t> bgra{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                        static_cast<uint8_t>(c >> 16), 255};
        Upload(g, slot, 1, bgra);
    }
}

void BuildTestWorld(TLevel& level) {
    level.clear();
    for (int x = -100; x <= 100; ++x)
        for (int z = -100; z <= 100; ++z) {
            for (int y = -100; y < 0; ++y) level.at(x, y, z) = 5;
            level.at(x, 0, z) = Hash(x, 0, z) % 9 == 0 ? 10 : 1;
        }
    // A house with a doorway, a window and a wooden roof.
    for (int x = 4; x <= 10; ++x)
        for (int z = -14; z <= -8; ++z) {
            level.at(x, 0, z) = 4;
            level.at(x, 5, z) = 8;
            const bool wall = x == 4 || x == 10 || z == -14 || z == -8;
            for (int y = 1; y <= 4 && wall; ++y) level.at(x, y, z) = 3;
        }
    level.at(7, 1, -8) = level.at(7, 2, -8) = 0;
    level.at(4, 3, -11) = 0;
    // Pillars, one of them next to cells without a block list.
    for (int y = 1; y <= 5; ++y) {
        level.at(-4, y, -6) = 2;
        level.at(-3, y, -6) = 50;
        level.at(2, y, -16) = 6;
    }
    // An overhang and a pit.
    for (int x = -8; x <= -5; ++x)
        for (int z = -12; z <= -9; ++z) level.at(x, 3, z) = 7;
    for (int x = 0; x <= 2; ++x)
        for (int z = -5; z <= -3; ++z)
            for (int y = -3; y <= 0; ++y) level.at(x, y, z) = 0;
    // Fire of both figures and the emerald.
    level.at(-1, 1, -4) = 101;
    level.at(-1, 2, -4) = 101;
    level.at(-2, 1, -4) = 103;
    level.at(3, 1, -2) = 102;
    Scatter(level, -30, 30, -40, 10);
    // Both sides of the x and z seams.
    Scatter(level, 80, 120, -20, 20);
    Scatter(level, -20, 20, 80, 120);
}

void PlaceFirstPlayer(TGameState& g, double x, double y, double z, double heading, double pitch) {
    g.posx = -x;
    g.posy = -y;
    g.posz = -z;
    g.angle = heading;
    g.angle2 = pitch;
}

void PlaceSecondPlayer(TGameState& g, double x, double y, double z, double heading, double pitch) {
    g.gposx = -x;
    g.gposy = -y;
    g.gposz = -z;
    g.gangle = heading;
    g.gangle2 = pitch;
}

TPictureDifference ComparePictures(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                                   int height) {
    TPictureDifference d;
    // Vertices placed by other but equal transforms move texture coordinates
    // by rounding errors, which can tip the filtered colour by a level or two.
    constexpr int kLevels = 2;
    const auto differs = [&](int x, int y) {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(a[i + c] - b[i + c]) > kLevels) return true;
        return false;
    };
    std::vector<int> columnRun(static_cast<size_t>(width), 0);
    for (int y = 0; y < height; ++y) {
        int rowRun = 0;
        for (int x = 0; x < width; ++x) {
            int& up = columnRun[static_cast<size_t>(x)];
            if (differs(x, y)) {
                ++d.differing;
                const int run = std::max(++rowRun, ++up);
                if (run > d.longestRun) {
                    d.longestRun = run;
                    d.runX = x;
                    d.runY = y;
                }
            } else {
                rowRun = 0;
                up = 0;
            }
        }
    }
    d.share = static_cast<double>(d.differing) / (static_cast<double>(width) * height);
    return d;
}

uint32_t PixelAt(const std::vector<uint8_t>& pixels, int width, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
    return (static_cast<uint32_t>(pixels[i]) << 16) | (static_cast<uint32_t>(pixels[i + 1]) << 8) | pixels[i + 2];
}

}  // namespace qw::test
