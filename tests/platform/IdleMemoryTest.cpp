#include "platform/IdleMemory.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/OsMesaContext.h"

namespace qw {
namespace {

// Resident kilobytes of the mappings of files named lib<name>..., by permissions.
size_t ResidentKilobytes(const std::string& fileNamePrefix, const std::string& permissions) {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool counting = false;
    size_t total = 0;
    while (std::getline(smaps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        if (line.find('-') < line.find(' ') && (fields >> range >> perms >> offset >> device >> inode)) {
            fields >> path;
            const std::string name = path.substr(path.find_last_of('/') + 1);
            counting = perms == permissions && name.rfind(fileNamePrefix, 0) == 0;
        } else if (counting && line.rfind("Rss:", 0) == 0) {
            total += std::stoul(line.substr(4));
        }
    }
    return total;
}

// A flat quad over the whole view in the colour of `texel`, through a
// texture environment mode that needs a shader of its own.
void DrawTexturedQuad(GLenum mode, const uint8_t (&texel)[4]) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(-1, -1);
    glTexCoord2f(1, 0); glVertex2f(1, -1);
    glTexCoord2f(1, 1); glVertex2f(1, 1);
    glTexCoord2f(0, 1); glVertex2f(-1, 1);
    glEnd();
    glDeleteTextures(1, &texture);
}

TEST(IdleMemory, CompilerCodeGoesAndTheRendererStillBuildsShaders) {
    test::OsMesaContext context(32, 32);
    ASSERT_TRUE(context.ok());
    if (!context.onSoftwareRenderer()) GTEST_SKIP() << "needs Mesa's compiling software renderer";
    const uint8_t red[4] = {255, 0, 0, 255};
    DrawTexturedQuad(GL_REPLACE, red);
    glFinish();
    ASSERT_GT(ResidentKilobytes("libLLVM", "r-xp"), 1024u) << "the compiler's code should be in use";
    const size_t relocatedData = ResidentKilobytes("libLLVM", "r--p");

    EXPECT_GT(ReleaseLibraryCode("libLLVM"), 0u);
    EXPECT_LT(ResidentKilobytes("libLLVM", "r-xp"), 256u);
    EXPECT_EQ(ResidentKilobytes("libLLVM", "r--p"), relocatedData) << "relocated data must stay";

    // A state never drawn before makes the renderer compile again, with the
    // code read back in.
    const uint8_t green[4] = {0, 255, 0, 255};
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawTexturedQuad(GL_DECAL, green);
    const std::vector<uint8_t>& pixels = context.Pixels();
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[1], 255);
    EXPECT_EQ(pixels[2], 0);
    EXPECT_EQ(ReleaseLibraryCode("libNoSuchLibraryAnywhere"), 0u);
}

TEST(IdleMemory, WatchReleasesOnGrowthOnly) {
    ASSERT_GT(ResidentBytes(), 0u);
    constexpr size_t kGrowth = size_t{8} << 20;
    TIdleMemoryWatch watch(kGrowth);
    EXPECT_TRUE(watch.Check()) << "the first check gives back what start-up left";
    EXPECT_FALSE(watch.Check());

    std::vector<char> little(kGrowth / 4);
    std::memset(little.data(), 1, little.size());
    EXPECT_FALSE(watch.Check());

    std::vector<char> much(2 * kGrowth);
    std::memset(much.data(), 1, much.size());
    EXPECT_TRUE(watch.Check());
    EXPECT_FALSE(watch.Check()) << "the new size is the new baseline";
}

}  // namespace
}  // namespace qw
