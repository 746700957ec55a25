// Writes one valid encoding of every network message, the seeds of the two
// message targets, into DIR/net_guest_message/ and DIR/net_host_message/.
// Encoded by the game's own encoder, so the seeds follow the protocol.
// Usage: fuzz_net_seeds DIR
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "net/Protocol.h"

namespace {

using namespace qw;
using namespace qw::net;

namespace fs = std::filesystem;

void Write(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    return bytes;
}

// The first cells of a grid, a floor of every play code, as one zlib
// stream: a block that ends long before the grid is full keeps each run
// cheap (a whole grid is 32 MB to inflate).
std::vector<uint8_t> ShortGridBlock() {
    std::vector<int32_t> cells(2048);
    const int32_t codes[] = {kGrass, kMetal, kBrick, kWeaponBlock, kHillGrass, kFire1, kEmerald, kFire2};
    for (size_t i = 0; i < cells.size(); ++i) cells[i] = codes[i % std::size(codes)];
    uLongf size = compressBound(cells.size() * 4);
    std::vector<uint8_t> block(size);
    compress2(block.data(), &size, reinterpret_cast<const Bytef*>(cells.data()), cells.size() * 4, 9);
    block.resize(size);
    return block;
}

TFigureSnapshot Figure(double x, bool missile, bool showdist) {
    TFigureSnapshot f;
    f.posx = x, f.posy = -20, f.posz = 20, f.angle = 180, f.angle2 = -12.5;
    f.swing = 30, f.jump = 3, f.walking = true, f.lives = 7, f.material = 8;
    f.missile = missile;
    if (missile) f.missilex = 12, f.missiley = -18, f.missilez = 40.5;
    f.showdist = showdist;
    if (showdist) f.lastdist = 57.25;
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const fs::path guest = fs::path(argv[1]) / "net_guest_message";
    const fs::path host = fs::path(argv[1]) / "net_host_message";

    Write(guest, "hello", Encode(TGuestMessage{THello{123456, {}}}));
    Write(guest, "hello-skin", Encode(TGuestMessage{THello{654321, Pattern(64)}}));
    Write(guest, "input-idle", Encode(TGuestMessage{TGuestInput{1, 1, 0, 0, 0, {}}}));
    TGuestInput busy{40, 2, kKeyForward | kKeyFast | kKeyRemove | (kKeyDigit1 << 3), 271.5, -33.25, {}};
    busy.events = {{11, TGuestEventKind::Place, {1, 2, 3}, {4, 5, 6.5}},
                   {12, TGuestEventKind::Remove, {-1, 2, -3}, {-40, 8, -12}},
                   {13, TGuestEventKind::Escape, {}, {}},
                   {14, TGuestEventKind::WheelDown, {}, {}},
                   {15, TGuestEventKind::WheelUp, {}, {}},
                   {16, TGuestEventKind::MenuThird, {}, {}},
                   {17, TGuestEventKind::MenuRight, {}, {}}};
    Write(guest, "input-every-event", Encode(TGuestMessage{busy}));
    Write(guest, "round-ready", Encode(TGuestMessage{TRoundReady{3}}));

    Write(host, "welcome-search", Encode(THostMessage{TWelcome{false, false, {}}}));
    Write(host, "welcome-creative-skin", Encode(THostMessage{TWelcome{true, false, Pattern(64)}}));
    Write(host, "welcome-fight", Encode(THostMessage{TWelcome{false, true, {}}}));
    Write(host, "grid-begin", Encode(THostMessage{TGridBegin{1, true, 31000, 180, 0}}));
    Write(host, "grid-chunk", Encode(THostMessage{TGridChunk{ShortGridBlock()}}));
    Write(host, "cell-changes",
          Encode(THostMessage{TCellChanges{1, {{0, kEmpty}, {4000000, kFire1}, {static_cast<uint32_t>(kGridCells - 1), kEmerald}}}}));
    Write(host, "sound", Encode(THostMessage{TSoundEvent{2}}));
    Write(host, "round-ended", Encode(THostMessage{TRoundEnded{}}));
    TSnapshot snapshot{900, 2, 15, Figure(-3.5, true, true), Figure(6, false, true), false, true, false};
    Write(host, "snapshot", Encode(THostMessage{snapshot}));
    Write(host, "snapshot-still", Encode(THostMessage{TSnapshot{}}));
    return 0;
}
