#include "assets/TextureLoader.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <stdexcept>

namespace qw {

void LoadPngTexture(const std::string& fileName, int slot, const std::array<uint32_t, 1000>& texName) {
    if (slot < 0 || static_cast<size_t>(slot) >= texName.size())
        throw std::out_of_range("texture slot " + std::to_string(slot) + " out of range");
    glBindTexture(GL_TEXTURE_2D, texName[static_cast<size_t>(slot)]);

    // A picture the GL cannot hold is refused before its pixels are decoded.
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    DecodedImage image = DecodePngFile(fileName, maxSize > 0 ? static_cast<size_t>(maxSize) : 0);
    ComposeOverBlack(image);
    const std::vector<uint8_t> upload = BuildUploadBuffer(image);

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height), 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, upload.data());
}

void LoadBlockTextures(const std::string& progPath, const std::array<uint32_t, 1000>& texName) {
    std::string failures;
    for (const BlockTextureFile& entry : kBlockTextureFiles) {
        try {
            LoadPngTexture(progPath + entry.file, entry.slot, texName);
        } catch (const std::runtime_error& error) {
            if (!failures.empty()) failures += '\n';
            failures += error.what();
        }
    }
    if (!failures.empty()) throw std::runtime_error(failures);
}

}  // namespace qw
