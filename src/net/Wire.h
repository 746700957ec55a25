#pragma once
// Little-endian encoding of the network messages. The reader never reads
// past its bytes: a short or overlong message makes it fail, and every value
// it hands out can be trusted to have come whole from the buffer.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace qw::net {

class TByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) { Put(v, 2); }
    void U32(uint32_t v) { Put(v, 4); }
    void I32(int32_t v) { Put(static_cast<uint32_t>(v), 4); }
    void F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        Put(bits, 8);
    }
    void Bytes(std::span<const uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    void Put(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};

class TByteReader {
public:
    explicit TByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // Each read returns false, and fails the reader for good, when the bytes
    // run out; the value is then left as it was.
    bool U8(uint8_t& v) { return Get(v, 1); }
    bool U16(uint16_t& v) { return Get(v, 2); }
    bool U32(uint32_t& v) { return Get(v, 4); }
    bool I32(int32_t& v) {
        uint32_t u;
        if (!Get(u, 4)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool F64(double& v) {
        uint64_t bits;
        if (!Get(bits, 8)) return false;
        std::memcpy(&v, &bits, 8);
        return true;
    }
    // The next n bytes, without copying them.
    bool Bytes(size_t n, std::span<const uint8_t>& out) {
        if (failed_ || n > remaining()) return Fail();
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        return true;
    }

    size_t remaining() const { return bytes_.size() - pos_; }
    // Every byte was read and every read succeeded.
    bool Finished() const { return !failed_ && pos_ == bytes_.size(); }

private:
    bool Fail() {
        failed_ = true;
        return false;
    }
    template <typename T>
    bool Get(T& v, size_t n) {
        if (failed_ || n > remaining()) return Fail();
        uint64_t acc = 0;
        for (size_t i = 0; i < n; ++i) acc |= uint64_t{bytes_[pos_ + i]} << (8 * i);
        pos_ += n;
        v = static_cast<T>(acc);
        return true;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace qw::net
