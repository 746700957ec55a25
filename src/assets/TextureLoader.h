#pragma once
// Block textures: PNG files from the program folder turned into GL textures.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/PngDecoder.h"

namespace qw {

// Decodes the file into texName[slot] (level 0, linear filters, no mipmaps)
// and leaves that texture bound. Images without an alpha channel are uploaded
// fully opaque, whatever transparency the file marks. Throws
// std::runtime_error with the decoder's message; the slot then keeps no image.
void LoadPngTexture(const std::string& fileName, int slot, const std::array<uint32_t, 1000>& texName);

struct BlockTextureFile {
    int slot;
    const char* file;
};

// In loading order.
inline constexpr std::array<BlockTextureFile, 12> kBlockTextureFiles{{
    {0, "gras.png"},
    {1, "metal.png"},
    {2, "brick.png"},
    {3, "cobblestone.png"},
    {4, "dirt.png"},
    {5, "granite.png"},
    {6, "sand.png"},
    {7, "wood.png"},
    {8, "waffe.png"},
    {100, "fire.png"},
    {101, "emerald.png"},
    {102, "grasdirt.png"},
}};

// Loads all twelve block textures from progPath (which ends in a separator).
// A file that fails does not stop the others; afterwards one
// std::runtime_error carries the messages of every failed file, one a line.
void LoadBlockTextures(const std::string& progPath, const std::array<uint32_t, 1000>& texName);

}  // namespace qw
