#pragma once
// Helpers for the world file tests: a private folder, hand-made world files
// (built here with zlib directly, not with the game's writer) and a guard
// that fails a test instead of hanging it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "world/FigureBlock.h"
#include "world/GameState.h"
#include "world/Grid.h"
#include "world/Random.h"
#include "world/RoundSetup.h"

namespace qw::test {

using Bytes = std::vector<unsigned char>;

class WorldTempDir {
public:
    WorldTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qw-worldfile-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    WorldTempDir(const WorldTempDir&) = delete;
    WorldTempDir& operator=(const WorldTempDir&) = delete;
    ~WorldTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

// The state a round on a selected world starts from.
inline void ResetForLoad(TGameState& state) {
    GameRandom unused(1);
    NewGame(state, false, unused);
}

inline void Append(Bytes& out, const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    out.insert(out.end(), p, p + size);
}

inline void AppendLE32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

inline void AppendDoubles(Bytes& out, const std::vector<double>& values) {
    for (double v : values) Append(out, &v, 8);
}

inline Bytes Compress(const Bytes& data) {
    uLongf size = compressBound(data.size());
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), data.size(), 6) != Z_OK) std::abort();
    out.resize(size);
    return out;
}

// magic, N, block, figures
inline Bytes CompressedFile(const Bytes& block, int32_t n, const std::vector<double>& figures) {
    Bytes out;
    AppendLE32(out, 0x25D2DA49);
    AppendLE32(out, static_cast<uint32_t>(n));
    Append(out, block.data(), block.size());
    AppendDoubles(out, figures);
    return out;
}

inline Bytes GridBytes(const TLevel& level) {
    Bytes out(kGridBytes);
    std::memcpy(out.data(), level.data(), kGridBytes);
    return out;
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<double> Figures(const TGameState& state) {
    std::vector<double> values;
    for (const auto& f : kFigureFields) values.push_back(state.*f.field);
    return values;
}

inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline bool GridIsEmpty(const TLevel& level) {
    const int32_t* cells = level.data();
    return std::all_of(cells, cells + kGridCells, [](int32_t c) { return c == 0; });
}

// What zlib itself reports for a damaged stream given whole: its message, or
// the text of its error code when it has none.
inline std::string InflaterSays(const Bytes& stream) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) std::abort();
    Bytes out(1 << 20);
    Bytes in = stream;
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(in.size());
    int code = Z_OK;
    while (code == Z_OK) {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        code = inflate(&z, Z_NO_FLUSH);
    }
    std::string said = z.msg ? z.msg : zError(code);
    inflateEnd(&z);
    if (code == Z_STREAM_END) std::abort();  // not damaged at all
    return said;
}

// A valid zlib stream of zeros, inflating to `gigabytes` GB from a few MB:
// one flushed block of 1 MB of zeros repeated.
inline Bytes ZlibBomb(int gigabytes) {
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK) std::abort();
    Bytes zeros(1 << 20, 0), head(1 << 16), unit(1 << 16);
    auto flushBlock = [&](Bytes& out) {
        z.next_in = zeros.data();
        z.avail_in = static_cast<uInt>(zeros.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        if (deflate(&z, Z_FULL_FLUSH) != Z_OK) std::abort();
        out.resize(out.size() - z.avail_out);
    };
    flushBlock(head);
    flushBlock(unit);
    deflateEnd(&z);
    Bytes stream = head;
    for (int i = 1; i < gigabytes * 1024; ++i) stream.insert(stream.end(), unit.begin(), unit.end());
    return stream;
}

// Long enough for a loaded machine; it only tells a hang from an answer.
inline constexpr std::chrono::seconds kHangLimit{30};

// Runs work in a child process; true when it finished normally within the
// time limit (a hang is killed, not waited for).
inline bool FinishesWithin(std::chrono::milliseconds limit, const std::function<void()>& work) {
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        work();
        _exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace qw::test
