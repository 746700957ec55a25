// Renders every block texture and both skins into one picture for judging the
// art: blocks as the game maps them, the files themselves, the material bar,
// the skins and the figures they make.
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "PixelArt.h"
#include "PngWriter.h"
#include "assets/PngDecoder.h"

namespace {

using namespace qw::tools;
using qw::DecodedImage;

const Rgba kBackground = Hex(0x7DA7D9);  // daylight sky, as behind blocks in the game

struct Texture {
    DecodedImage image;
    // u is the column fraction, v the row fraction from the top.
    Rgba Sample(double u, double v) const {
        const size_t x = std::min(image.width - 1, size_t(std::max(0.0, u) * double(image.width)));
        const size_t y = std::min(image.height - 1, size_t(std::max(0.0, v) * double(image.height)));
        const uint8_t* p = &image.rgba[(y * image.width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    // By texture coordinates: s runs along the columns, t = 1 is the top row.
    Rgba At(double s, double t) const { return Sample(s, 1 - t); }
};

Texture Load(const std::string& folder, const std::string& file) {
    return {qw::DecodePngFile(folder + file, 4096)};
}

void Put(Canvas& sheet, int x, int y, Rgba c, double shade = 1) {
    if (c.a == 0) return;
    const Rgba lit = Shade(c, shade);
    sheet.at(x, y) = Mix(sheet.at(x, y), Rgba{lit.r, lit.g, lit.b, 255}, c.a / 255.0);
}

void Checkerboard(Canvas& sheet, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sheet.at(x0 + x, y0 + y) = ((x / 8 + y / 8) % 2) ? Hex(0xBDBDBD) : Hex(0xE6E6E6);
}

// An isometric cube as the block lists draw it. On the faces at x = 4 and
// z = 4 the texture coordinate s is 0 along the top edge and t runs
// horizontally (t = 1 at the face's left edge seen from outside).
void Cube(Canvas& sheet, int cx, int top, int edge, const Texture& side, const Texture& upper) {
    const double k = edge * 0.866;
    for (int py = 0; py < edge * 2 + 1; ++py)
        for (int px = -int(k) - 1; px <= int(k) + 1; ++px) {
            const double sx = px / k, sy = double(py) / edge;  // sx: X - Z, sy: -Y + (X + Z) / 2 + 1
            // Top face, Y = 1.
            const double sum = 2 * sy;
            const double X = (sum + sx) / 2, Z = (sum - sx) / 2;
            if (X >= 0 && X < 1 && Z >= 0 && Z < 1) {
                Put(sheet, cx + px, top + py, upper.At(1 - Z, X));
                continue;
            }
            if (sx < 0) {  // face Z = 1, X = 1 + sx
                const double x = 1 + sx, y = (x + 1) / 2 + 1 - sy;
                if (x >= 0 && x < 1 && y >= 0 && y < 1) Put(sheet, cx + px, top + py, side.At(1 - y, 1 - x), 0.62);
            } else {  // face X = 1, Z = 1 - sx
                const double z = 1 - sx, y = (1 + z) / 2 + 1 - sy;
                if (z >= 0 && z < 1 && y >= 0 && y < 1) Put(sheet, cx + px, top + py, side.At(1 - y, z), 0.8);
            }
        }
}

void Scaled(Canvas& sheet, int x0, int y0, const Texture& t, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Put(sheet, x0 + x, y0 + y, t.Sample((x + 0.5) / w, (y + 0.5) / h));
}

// The material bar's icon: s grows downwards, t to the right.
void Icon(Canvas& sheet, int x0, int y0, const Texture& t) {
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) Put(sheet, x0 + x, y0 + y, t.At((y + 0.5) / 40, (x + 0.5) / 40));
}

// Copies a rectangle of the skin, enlarged, optionally mirrored.
void SkinPart(Canvas& sheet, int x0, int y0, const Texture& skin, int sx, int sy, int w, int h, int scale,
              bool mirror = false) {
    for (int y = 0; y < h * scale; ++y)
        for (int x = 0; x < w * scale; ++x) {
            const int col = mirror ? sx + w - 1 - x / scale : sx + x / scale;
            Put(sheet, x0 + x, y0 + y, skin.Sample((col + 0.5) / 64.0, (sy + y / scale + 0.5) / 32.0));
        }
}

// The figure seen from the front (or back): head, overlay, body, arms, legs.
void Figure(Canvas& sheet, int x0, int y0, const Texture& skin, bool back, int s) {
    const int head = back ? 24 : 8, hat = back ? 56 : 40, body = back ? 32 : 20, arm = back ? 52 : 44,
              leg = back ? 12 : 4;
    SkinPart(sheet, x0 + 4 * s, y0, skin, head, 8, 8, 8, s);
    SkinPart(sheet, x0 + 4 * s, y0, skin, hat, 8, 8, 8, s);
    SkinPart(sheet, x0 + 4 * s, y0 + 8 * s, skin, body, 20, 8, 12, s);
    SkinPart(sheet, x0, y0 + 8 * s, skin, arm, 20, 4, 12, s, back);
    SkinPart(sheet, x0 + 12 * s, y0 + 8 * s, skin, arm, 20, 4, 12, s, !back);
    SkinPart(sheet, x0 + 4 * s, y0 + 20 * s, skin, leg, 20, 4, 12, s, back);
    SkinPart(sheet, x0 + 8 * s, y0 + 20 * s, skin, leg, 20, 4, 12, s, !back);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER OUTPUT.png\n", argv[0]);
        return 2;
    }
    try {
        const std::string folder = std::string(argv[1]) + "/";
        const char* files[] = {"gras.png", "metal.png", "brick.png", "cobblestone.png", "dirt.png", "granite.png",
                               "sand.png", "wood.png",  "waffe.png", "fire.png",        "emerald.png",
                               "grasdirt.png"};
        std::vector<Texture> textures;
        for (const char* file : files) textures.push_back(Load(folder, file));
        const Texture player = Load(folder, "spieler.png"), opponent = Load(folder, "gegner.png");

        Canvas sheet(1660, 660, kBackground);
        // Blocks: list order of the game, the grass block first.
        const int cubeEdge = 56;
        Cube(sheet, 70, 12, cubeEdge, textures[11], textures[0]);
        for (int i = 1; i <= 10; ++i) Cube(sheet, 70 + 118 * i, 12, cubeEdge, textures[i], textures[i]);
        // The files as stored.
        for (int i = 0; i < 12; ++i) {
            Checkerboard(sheet, 12 + 136 * i, 150, 128, 128);
            Scaled(sheet, 12 + 136 * i, 150, textures[i], 128, 128);
        }
        // The material bar over a dark strip, slot 0 selected.
        sheet.Rect(0, 292, 1660, 70, Hex(0x404448));
        for (int i = 0; i < 9; ++i) {
            sheet.Rect(40 + 60 * i - 10, 292, 70, 60, i == 0 ? Hex(0xFF0000) : Hex(0x000000));
            Icon(sheet, 40 + 60 * i, 302, textures[size_t(i)]);
        }
        // Skins as stored and the figures they dress.
        int x = 12;
        for (const Texture* skin : {&player, &opponent}) {
            Checkerboard(sheet, x, 380, 256, 128);
            Scaled(sheet, x, 380, *skin, 256, 128);
            Figure(sheet, x + 270, 380, *skin, false, 8);
            Figure(sheet, x + 420, 380, *skin, true, 8);
            x += 580;
        }
        WritePng(argv[2], sheet.width(), sheet.height(), [&] {
            std::vector<uint8_t> bytes;
            for (int py = 0; py < sheet.height(); ++py)
                for (int px = 0; px < sheet.width(); ++px) {
                    const Rgba c = sheet.at(px, py);
                    bytes.insert(bytes.end(), {c.r, c.g, c.b, 255});
                }
            return bytes;
        }());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
