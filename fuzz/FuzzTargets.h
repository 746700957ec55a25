#pragma once
// What each fuzz target does with one input. The same functions run under
// libFuzzer (fuzz/) and, for the committed seeds and every input that once
// crashed, in the normal test suite (tests/fuzz/).
#include <cstdint>
#include <span>

namespace qw::fuzz {

using Bytes = std::span<const uint8_t>;

// A world file: LoadWorld, then one frame of play in the fight and the search
// mode on what was loaded.
void FeedWorldFile(Bytes bytes);
// A vector font: OpenMLFontFile, then every glyph drawn into a line counter.
void FeedFontFile(Bytes bytes);
// A block texture: the decoding and conversion steps of LoadPngTexture.
void FeedPngTexture(Bytes bytes);
// A skin: OpenThePng, then all 42 body-part textures cut from it.
void FeedSkin(Bytes bytes);
// A network message as the host receives it from the guest: decoded, then
// every value checked against its limit and encoded back to the same bytes.
void FeedGuestMessage(Bytes bytes);
// The same for what the guest receives from the host; a grid chunk is also
// inflated as a whole grid.
void FeedHostMessage(Bytes bytes);

// Ends the process with the message when a promise of the loaders is broken,
// so libFuzzer keeps the input and a test run fails.
void Require(bool condition, const char* what);

}  // namespace qw::fuzz
