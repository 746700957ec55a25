// Writes the twelve block textures and the two default skins into a folder.
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "BlockArt.h"
#include "PngWriter.h"
#include "SkinArt.h"
#include "TextureFiles.h"

namespace {

using namespace qw::tools;

// Each painted texel becomes 4 x 4 texels: crisp edges under linear filtering.
constexpr int kTexelScale = 4;

struct BlockPicture {
    const char* file;
    std::function<Canvas()> paint;
    Facing facing;
};

void Write(const std::string& path, const Canvas& art, Facing facing, int scale) {
    WritePng(path, art.width() * scale, art.height() * scale, ImageBytes(art, facing, scale));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const BlockPicture blocks[] = {
        {"gras.png", PaintGrass, Facing::BlockFace},
        {"metal.png", PaintMetal, Facing::BlockFace},
        {"brick.png", PaintBrick, Facing::BlockFace},
        {"cobblestone.png", PaintCobblestone, Facing::BlockFace},
        {"dirt.png", PaintDirt, Facing::BlockFace},
        {"granite.png", PaintGranite, Facing::BlockFace},
        {"sand.png", PaintSand, Facing::BlockFace},
        {"wood.png", PaintWood, Facing::BlockFace},
        {"waffe.png", PaintWeaponIcon, Facing::BarIcon},
        {"fire.png", PaintFire, Facing::BlockFace},
        {"emerald.png", PaintEmerald, Facing::BlockFace},
        {"grasdirt.png", PaintGrassSide, Facing::BlockFace},
    };
    try {
        for (const BlockPicture& block : blocks) Write(folder + block.file, block.paint(), block.facing, kTexelScale);
        Write(folder + "spieler.png", PaintPlayerSkin(), Facing::Upright, 1);
        Write(folder + "gegner.png", PaintOpponentSkin(), Facing::Upright, 1);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
