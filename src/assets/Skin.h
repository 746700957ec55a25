#pragma once
// Skins: a 64 x 32 (or 64 x 64) PNG in the Minecraft layout, read into the
// work bitmap and cut into the 42 body-part textures of one figure.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "world/GameState.h"

namespace qw {

inline constexpr const char* kSkinRejectedText = "Diese Datei ist kein gültiger Minecraft Skin!";

inline constexpr int kSkinWidth = 64;
inline constexpr int kSkinHeight = 32;
inline constexpr int kSkinTextureSize = 64;  // every body-part texture is 64 x 64 texels
inline constexpr int kSkinTextureCount = 42;
inline constexpr int kPlayerSkinBase = 300;
inline constexpr int kOpponentSkinBase = 200;

// How OpenThePng tells the user that it kept the previous skin.
struct TSkinReport {
    // A PNG of the wrong size: the text goes into a "Fehler" box.
    std::function<void(const std::string& text)> rejected;
    // A missing or undecodable file: the decoder's message goes into the
    // standard error box. The caller goes on as after a rejected skin.
    std::function<void(const std::string& message)> error;
};

// A rectangle of the skin layout: top-left pixel and size.
struct TSkinPart {
    int x, y, width, height;
};

inline constexpr std::array<TSkinPart, 30> kSkinParts{{
    {8, 8, 8, 8},   {16, 8, 8, 8},  {24, 8, 8, 8},  {0, 8, 8, 8},   {8, 0, 8, 8},   {16, 0, 8, 8},    // head
    {40, 8, 8, 8},  {48, 8, 8, 8},  {56, 8, 8, 8},  {32, 8, 8, 8},  {40, 0, 8, 8},  {48, 0, 8, 8},    // overlay
    {20, 20, 8, 12}, {28, 20, 4, 12}, {32, 20, 8, 12}, {16, 20, 4, 12}, {20, 16, 8, 4}, {28, 16, 8, 4},  // body
    {4, 20, 4, 12}, {8, 20, 4, 12}, {12, 20, 4, 12}, {0, 20, 4, 12}, {4, 16, 4, 4},  {8, 16, 4, 4},    // leg
    {44, 20, 4, 12}, {48, 20, 4, 12}, {52, 20, 4, 12}, {40, 20, 4, 12}, {44, 16, 4, 4}, {48, 16, 4, 4},  // arm
}};

// One body-part texture: the skin part it is cut from, whether the part is
// flipped left to right, and whether it keeps the skin's alpha.
struct TSkinTexture {
    int part;
    bool mirrored;
    bool withAlpha;
};

// By offset from a figure's texture base; the character model draws offset k
// on its k-th face. The limbs at +x are the mirror image of those at -x,
// except for the sole, which is mirrored at -x instead.
inline constexpr std::array<TSkinTexture, kSkinTextureCount> kSkinTextures{{
    {0, false, false},  {1, false, false},  {3, false, false},  {4, false, false},  {5, false, false},  {2, false, false},   // head
    {12, false, false}, {13, false, false}, {15, false, false}, {16, false, false}, {17, false, false}, {14, false, false},  // body
    {24, false, false}, {25, false, false}, {27, false, false}, {28, false, false}, {29, true, false},  {26, false, false},  // arm -x
    {24, true, false},  {27, true, false},  {25, true, false},  {28, true, false},  {29, false, false}, {26, true, false},   // arm +x
    {18, false, false}, {19, false, false}, {21, false, false}, {22, false, false}, {23, true, false},  {20, false, false},  // leg -x
    {18, true, false},  {21, true, false},  {19, true, false},  {22, true, false},  {23, false, false}, {20, true, false},   // leg +x
    {6, false, true},   {7, false, true},   {9, false, true},   {10, false, true},  {11, false, true},  {8, false, true},    // overlay
}};

// Reads a skin into g.bit. A PNG that is not 64 wide and 32 or 64 high is
// rejected before its pixels are decoded; a file the decoder refuses is
// reported as an error. Either way g.bit keeps the skin accepted last.
void OpenThePng(TGameState& g, const std::string& fname, const TSkinReport& report);

// The same checks for a skin file's bytes that came from elsewhere (the other
// player of a network game). Silent; true when g.bit holds the new skin.
bool OpenThePngBytes(TGameState& g, std::span<const uint8_t> bytes);

// Sets breit, hoch, ofx, ofy to skin part teil; other values change nothing.
void SelectTeil(TGameState& g, int32_t teil);

// Bytes one body-part texture needs at most (64 x 64 RGBA).
inline constexpr size_t kSkinTextureBytes = size_t{kSkinTextureSize} * kSkinTextureSize * 4;

// Cuts texture k (0 ... 41) from g.bit into out: rows bottom-up, bytes red,
// green, blue (and alpha for the overlay). Returns the bytes written.
size_t CutSkinTexture(TGameState& g, int k, std::span<uint8_t, kSkinTextureBytes> out);

// Uploads the 42 textures into texName[starttextureat ... starttextureat + 41].
// Needs the GL context current.
void InitSkinTextures(TGameState& g, int32_t starttextureat);

}  // namespace qw
