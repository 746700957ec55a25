#include "assets/Skin.h"

#include <GL/gl.h>

#include <stdexcept>
#include <vector>

#include "assets/PngDecoder.h"

namespace qw {

namespace {

bool IsSkinSize(size_t width, size_t height) {
    return width == kSkinWidth && (height == kSkinHeight || height == 2 * kSkinHeight);
}

// The top 64 x 32 pixels as blue, green, red, alpha. A picture without an
// alpha channel brings no alpha of its own, so its overlay stays invisible.
void CopyTopHalf(const DecodedImage& image, std::array<uint8_t, kSkinWidth * kSkinHeight * 4>& bit) {
    for (size_t i = 0; i < bit.size(); i += 4) {
        bit[i + 0] = image.rgba[i + 2];
        bit[i + 1] = image.rgba[i + 1];
        bit[i + 2] = image.rgba[i + 0];
        bit[i + 3] = image.hasAlphaChannel ? image.rgba[i + 3] : 0;
    }
}

// The checks are the same wherever the skin comes from: its header first,
// then its pixels. Returns whether g.bit holds the new skin.
bool ReadSkin(TGameState& g, PngDecoder& decoder, const std::string& name, const TSkinReport& report) {
    if (!IsSkinSize(decoder.width(), decoder.height())) {
        if (report.rejected) report.rejected(kSkinRejectedText);
        return false;
    }
    DecodedImage image = decoder.Decode();
    if (!IsSkinSize(image.width, image.height) || image.rgba.size() < g.bit.size())
        throw std::runtime_error(name + ": decoded size differs from the header");
    if (image.hasAlphaChannel) ComposeOverBlack(image);
    CopyTopHalf(image, g.bit);
    return true;
}

}  // namespace

void OpenThePng(TGameState& g, const std::string& fname, const TSkinReport& report) {
    try {
        PngDecoder decoder(fname);
        ReadSkin(g, decoder, fname, report);
    } catch (const std::runtime_error& error) {
        if (report.error) report.error(error.what());
    }
}

bool OpenThePngBytes(TGameState& g, std::span<const uint8_t> bytes) {
    try {
        PngDecoder decoder(bytes);
        return ReadSkin(g, decoder, "skin", {});
    } catch (const std::runtime_error&) {
        return false;
    }
}

void SelectTeil(TGameState& g, int32_t teil) {
    if (teil < 0 || teil >= static_cast<int32_t>(kSkinParts.size())) return;
    const TSkinPart& part = kSkinParts[static_cast<size_t>(teil)];
    g.breit = part.width;
    g.hoch = part.height;
    g.ofx = part.x;
    g.ofy = part.y;
}

size_t CutSkinTexture(TGameState& g, int k, std::span<uint8_t, kSkinTextureBytes> out) {
    if (k < 0 || k >= kSkinTextureCount) throw std::out_of_range("skin texture " + std::to_string(k));
    const TSkinTexture& texture = kSkinTextures[static_cast<size_t>(k)];
    SelectTeil(g, texture.part);
    const size_t bytesPerTexel = texture.withAlpha ? 4 : 3;
    constexpr int n = kSkinTextureSize;
    for (int i = 0; i < n; ++i) {
        const int sy = g.ofy + (i * g.hoch) / n;
        for (int j = 0; j < n; ++j) {
            const int step = (j * g.breit) / n;
            const int sx = texture.mirrored ? g.ofx + g.breit - 1 - step : g.ofx + step;
            const uint8_t* source = &g.bit[static_cast<size_t>(sy * kSkinWidth + sx) * 4];
            // Texture rows go bottom-up: the part's top row lands at t = 1.
            uint8_t* texel = &out[static_cast<size_t>((n - 1 - i) * n + j) * bytesPerTexel];
            texel[0] = source[2];
            texel[1] = source[1];
            texel[2] = source[0];
            if (texture.withAlpha) texel[3] = source[3];
        }
    }
    return size_t{n} * n * bytesPerTexel;
}

void InitSkinTextures(TGameState& g, int32_t starttextureat) {
    if (starttextureat < 0 || static_cast<size_t>(starttextureat) + kSkinTextureCount > g.texName.size())
        throw std::out_of_range("skin textures at " + std::to_string(starttextureat));
    // One scratch buffer for all 42; its rows of 192 or 256 bytes suit any
    // unpack alignment.
    std::vector<uint8_t> scratch(kSkinTextureBytes);
    const std::span<uint8_t, kSkinTextureBytes> buffer(scratch.data(), kSkinTextureBytes);
    for (int k = 0; k < kSkinTextureCount; ++k) {
        CutSkinTexture(g, k, buffer);
        glBindTexture(GL_TEXTURE_2D, g.texName[static_cast<size_t>(starttextureat + k)]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        if (kSkinTextures[static_cast<size_t>(k)].withAlpha) {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSkinTextureSize, kSkinTextureSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         scratch.data());
        } else {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kSkinTextureSize, kSkinTextureSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
                         scratch.data());
        }
    }
}

}  // namespace qw
