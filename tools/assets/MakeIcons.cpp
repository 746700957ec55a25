// Writes the application icon, a grass block seen from above at an angle,
// painted with the game's own grass textures, into OUTPUT/<n>x<n>/quaderwelt.png
// for each size of the hicolor theme that menus commonly ask for.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "BlockArt.h"
#include "PngWriter.h"

namespace {

using namespace qw::tools;

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
// Samples per pixel along each axis: smooth outer edges, crisp texels inside.
constexpr int kSupersample = 8;

// The block in icon units (0..1 across the picture), true isometric: the top
// face is a diamond of half width a and half height b, the sides drop by c.
struct Block {
    double margin = 0.04;
    double a = (1 - 2 * margin) / (4 / std::sqrt(3.0));
    double b = a * std::tan(M_PI / 6);
    double c = a / std::cos(M_PI / 6);
    double top = (1 - (2 * b + c)) / 2;  // y of the diamond's upper corner
    double cx = 0.5;
};

struct FaceHit {
    const Canvas* art;
    double u, v;  // 0..1 across and down the face picture
    double light;
};

bool Inside(double u, double v) { return u >= 0 && u < 1 && v >= 0 && v < 1; }

std::optional<FaceHit> HitFace(const Block& k, double x, double y, const Canvas& grass, const Canvas& side) {
    const double dx = x - k.cx;
    const double dy = y - k.top;
    const double topU = (dy / k.b + dx / k.a) / 2;
    const double topV = (dy / k.b - dx / k.a) / 2;
    if (Inside(topU, topV)) return FaceHit{&grass, topU, topV, 1.0};
    // The sides hang below the diamond's left and right lower edges.
    if (dx < 0) {
        const double s = (dx + k.a) / k.a;
        const double t = (dy - k.b - s * k.b) / k.c;
        if (Inside(s, t)) return FaceHit{&side, s, t, 0.8};
    } else {
        const double s = dx / k.a;
        const double t = (dy - 2 * k.b + s * k.b) / k.c;
        if (Inside(s, t)) return FaceHit{&side, s, t, 0.6};
    }
    return std::nullopt;
}

std::vector<uint8_t> RenderIcon(int size, const Canvas& grass, const Canvas& side) {
    const Block block;
    std::vector<uint8_t> rgba;
    rgba.reserve(size_t(size) * size_t(size) * 4);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            // Premultiplied sums, so transparent samples do not darken the edge.
            double r = 0, g = 0, b = 0, covered = 0;
            for (int sy = 0; sy < kSupersample; ++sy)
                for (int sx = 0; sx < kSupersample; ++sx) {
                    const double x = (px + (sx + 0.5) / kSupersample) / size;
                    const double y = (py + (sy + 0.5) / kSupersample) / size;
                    const auto hit = HitFace(block, x, y, grass, side);
                    if (!hit) continue;
                    const Rgba texel = hit->art->at(int(hit->u * kArtSize), int(hit->v * kArtSize));
                    const Rgba lit = Shade(texel, hit->light);
                    r += lit.r;
                    g += lit.g;
                    b += lit.b;
                    covered += 1;
                }
            const double samples = kSupersample * kSupersample;
            auto channel = [covered](double sum) { return uint8_t(covered > 0 ? std::lround(sum / covered) : 0); };
            rgba.insert(rgba.end(), {channel(r), channel(g), channel(b), uint8_t(std::lround(255 * covered / samples))});
        }
    return rgba;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        const Canvas grass = PaintGrass();
        const Canvas side = PaintGrassSide();
        for (int size : kSizes) {
            const std::string name = std::to_string(size) + "x" + std::to_string(size);
            const std::filesystem::path folder = std::filesystem::path(argv[1]) / name;
            std::filesystem::create_directories(folder);
            WritePng((folder / "quaderwelt.png").string(), size, size, RenderIcon(size, grass, side));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
