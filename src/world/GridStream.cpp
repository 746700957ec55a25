#define ZLIB_CONST
#include "world/GridStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "world/PosixFile.h"

namespace qw {

namespace {

constexpr std::size_t kChunk = 256 * 1024;

std::string ZlibError(const z_stream& z, int code) {
    return std::string(z.msg ? z.msg : zError(code));
}

class Inflater {
public:
    Inflater() {
        if (inflateInit(&z) != Z_OK) throw std::runtime_error(ZlibError(z, Z_MEM_ERROR));
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    ~Inflater() { inflateEnd(&z); }
    z_stream z{};
};

class Deflater {
public:
    Deflater() {
        // Saving holds up the game; the fastest level is several times quicker
        // than the default for a file only about half again as large.
        if (deflateInit(&z, Z_BEST_SPEED) != Z_OK)
            throw std::runtime_error("Cannot start compressing: " + ZlibError(z, Z_MEM_ERROR));
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    ~Deflater() { deflateEnd(&z); }
    z_stream z{};
};

// The one inflater of grids, whatever the compressed bytes come from:
// `read` fills up to n bytes and returns how many it gave, 0 at the end.
template <typename Read>
InflateEnd InflateGrid(Read&& read, int64_t blockLength, TLevel& level) {
    Inflater inflater;
    z_stream& z = inflater.z;
    std::vector<unsigned char> input(kChunk);
    unsigned char spill = 0;  // room for the one byte that proves the stream too large
    bool spilling = false;
    int64_t unread = blockLength;

    z.next_out = reinterpret_cast<unsigned char*>(level.data());
    z.avail_out = static_cast<uInt>(kGridBytes);
    for (;;) {
        if (z.avail_in == 0) {
            // All of the block is in and the stream wants more: zlib's buffer error.
            if (unread == 0) throw std::runtime_error(ZlibError(z, Z_BUF_ERROR));
            const std::size_t got = read(input.data(), static_cast<std::size_t>(std::min<int64_t>(unread, kChunk)));
            if (got == 0) return InflateEnd::FileEnded;
            unread -= static_cast<int64_t>(got);
            z.next_in = input.data();
            z.avail_in = static_cast<uInt>(got);
        }
        const int code = inflate(&z, Z_NO_FLUSH);
        // A byte in the spill is one more than a grid, even when the stream
        // ends with it.
        if (spilling && z.avail_out == 0) return InflateEnd::Larger;
        if (code == Z_STREAM_END) return InflateEnd::StreamEnd;
        if (code != Z_OK && !(code == Z_BUF_ERROR && z.avail_in == 0)) throw std::runtime_error(ZlibError(z, code));
        if (z.avail_out == 0) {
            spilling = true;
            z.next_out = &spill;
            z.avail_out = 1;
        }
    }
}

template <typename Write>
int64_t DeflateGridTo(const TLevel& level, Write&& write) {
    Deflater deflater;
    z_stream& z = deflater.z;
    std::vector<unsigned char> output(kChunk);
    z.next_in = reinterpret_cast<const unsigned char*>(level.data());
    z.avail_in = static_cast<uInt>(kGridBytes);
    int64_t written = 0;
    for (;;) {
        z.next_out = output.data();
        z.avail_out = static_cast<uInt>(output.size());
        const int code = deflate(&z, Z_FINISH);
        if (code != Z_OK && code != Z_STREAM_END)
            throw std::runtime_error("Cannot compress the world: " + ZlibError(z, code));
        const std::size_t produced = output.size() - z.avail_out;
        write(output.data(), produced);
        written += static_cast<int64_t>(produced);
        if (code == Z_STREAM_END) return written;
    }
}

}  // namespace

InflateEnd InflateGridBlock(int fd, int64_t blockLength, TLevel& level) {
    return InflateGrid([fd](unsigned char* buffer, std::size_t n) { return ReadUpTo(fd, buffer, n); }, blockLength,
                       level);
}

InflateEnd InflateGridBytes(std::span<const uint8_t> block, TLevel& level) {
    std::size_t taken = 0;
    const auto read = [&](unsigned char* buffer, std::size_t n) {
        n = std::min(n, block.size() - taken);
        std::memcpy(buffer, block.data() + taken, n);
        taken += n;
        return n;
    };
    return InflateGrid(read, static_cast<int64_t>(block.size()), level);
}

int64_t DeflateGrid(const TLevel& level, AtomicFile& out) {
    return DeflateGridTo(level, [&](const unsigned char* bytes, std::size_t n) { out.Write(bytes, n); });
}

std::vector<uint8_t> DeflateGridBytes(const TLevel& level) {
    std::vector<uint8_t> block;
    DeflateGridTo(level, [&](const unsigned char* bytes, std::size_t n) { block.insert(block.end(), bytes, bytes + n); });
    return block;
}

}  // namespace qw
