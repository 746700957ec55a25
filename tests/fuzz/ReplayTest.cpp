// Every seed and every regression input of a fuzz target goes through the
// same checks as under libFuzzer; a broken promise aborts with its message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTargets.h"

namespace qw::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Feeds corpus/<target>/* and regressions/<target>/*; returns how many.
int Replay(const std::string& target, void (*feed)(Bytes)) {
    int fed = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path dir = fs::path(QW_FUZZ_DIR) / kind / target;
        if (!fs::is_directory(dir)) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            SCOPED_TRACE(entry.path().string());
            const std::vector<uint8_t> bytes = ReadFile(entry.path());
            feed(bytes);
            ++fed;
        }
    }
    return fed;
}

TEST(FuzzReplay, WorldFiles) { EXPECT_GE(Replay("world_file", FeedWorldFile), 5); }
TEST(FuzzReplay, FontFiles) { EXPECT_GE(Replay("font_file", FeedFontFile), 2); }
TEST(FuzzReplay, PngTextures) { EXPECT_GE(Replay("png_texture", FeedPngTexture), 8); }
TEST(FuzzReplay, Skins) { EXPECT_GE(Replay("skin", FeedSkin), 4); }
TEST(FuzzReplay, NetGuestMessages) { EXPECT_GE(Replay("net_guest_message", FeedGuestMessage), 5); }
TEST(FuzzReplay, NetHostMessages) { EXPECT_GE(Replay("net_host_message", FeedHostMessage), 10); }

}  // namespace
}  // namespace qw::fuzz
