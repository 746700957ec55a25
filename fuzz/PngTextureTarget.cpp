#include <stdexcept>

#include "FuzzTargets.h"
#include "MemoryFile.h"
#include "assets/PngDecoder.h"

namespace qw::fuzz {

// A common maximum texture size; larger pictures are refused before their
// pixels are decoded, as the game does with its GL's limit.
constexpr size_t kMaxTextureSize = 4096;

void FeedPngTexture(Bytes bytes) {
    MemoryFile file(bytes);
    DecodedImage image;
    try {
        image = DecodePngFile(file.path(), kMaxTextureSize);
    } catch (const std::runtime_error&) {
        return;  // the message goes to the error box; the slot keeps no image
    }
    Require(image.width <= kMaxTextureSize && image.height <= kMaxTextureSize, "the size limit holds");
    Require(image.rgba.size() == image.width * image.height * 4, "four bytes per pixel");
    ComposeOverBlack(image);
    const std::vector<uint8_t> upload = BuildUploadBuffer(image);
    Require(upload.size() == image.rgba.size(), "the upload holds every pixel");
}

}  // namespace qw::fuzz
