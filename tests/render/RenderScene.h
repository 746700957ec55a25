#pragma once
// Shared pieces of the render tests: block textures made in place, a
// hand-made world with every kind of cell, and the picture comparison.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "world/GameState.h"

namespace qw::test {

// Generates the texture names and gives the twelve block slots 8 x 8 images,
// each slot its own colours and a pattern that shows orientation. The slots
// in `translucent` get texels with alpha 0, 128 and 255. Linear filters, as
// the loader sets them.
void MakeBlockTextures(TGameState& g, std::initializer_list<int> translucent);

// A plain colour per block slot, for telling faces apart by their pixels.
void MakeSolidBlockTextures(TGameState& g);
uint32_t SolidColourOfSlot(int slot);  // 0xRRGGBB

// Ground at layer 0 and below, a house, pillars, an overhang, a pit, scattered
// blocks of every code (with codes that have no block list), fire, the
// emerald, and the same kind of scattering on both sides of the seams.
void BuildTestWorld(TLevel& level);

// Places the first player's feet at world point (x, y, z).
void PlaceFirstPlayer(TGameState& g, double x, double y, double z, double heading, double pitch);
void PlaceSecondPlayer(TGameState& g, double x, double y, double z, double heading, double pitch);

struct TPictureDifference {
    int differing = 0;   // pixels with a channel more than two levels apart
    double share = 0;    // of all pixels
    int longestRun = 0;  // of differing pixels along a row or a column
    int runX = 0, runY = 0;  // where that run ends
};
TPictureDifference ComparePictures(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                                   int height);

// Pixel (x, y) from the bottom-left of an RGBA picture, as 0xRRGGBB.
uint32_t PixelAt(const std::vector<uint8_t>& pixels, int width, int x, int y);

}  // namespace qw::test
