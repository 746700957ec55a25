#include "assets/MlfFont.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>

namespace qw {
namespace {

constexpr uint32_t kStrokeBytes = sizeof(TStrokeRecord);

// Sequential reader that knows how many bytes the file still holds, so no
// count in the file can make us allocate more than the file could fill.
class FontReader {
public:
    FontReader(std::FILE* file, uint64_t size) : file_(file), remaining_(size) {}

    uint64_t remaining() const { return remaining_; }

    bool ReadBytes(uint8_t* into, std::size_t n) {
        if (std::fread(into, 1, n, file_) != n) {
            remaining_ = 0;
            return false;
        }
        remaining_ -= std::min<uint64_t>(remaining_, n);
        return true;
    }

    bool ReadInt32(int32_t& v) {
        uint8_t b[4];
        if (!ReadBytes(b, sizeof b)) return false;
        v = Int32At(b);
        return true;
    }

    bool ReadDouble(double& v) {
        uint8_t b[8];
        if (!ReadBytes(b, sizeof b)) return false;
        v = DoubleAt(b);
        return true;
    }

    static double DoubleAt(const uint8_t* b) {
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) bits = bits << 8 | b[i];
        return std::bit_cast<double>(bits);
    }

    static int32_t Int32At(const uint8_t* b) {
        return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    }

private:
    std::FILE* file_;
    uint64_t remaining_;
};

TStrokeRecord DecodeStroke(const uint8_t* b) {
    TStrokeRecord r;
    r.x1 = FontReader::DoubleAt(b + 0);
    r.y1 = FontReader::DoubleAt(b + 8);
    r.x2 = FontReader::DoubleAt(b + 16);
    r.y2 = FontReader::DoubleAt(b + 24);
    r.x3 = FontReader::DoubleAt(b + 32);
    r.y3 = FontReader::DoubleAt(b + 40);
    r.kind = FontReader::Int32At(b + 48);
    std::memcpy(r.reserved, b + 52, sizeof r.reserved);
    return r;
}

// False when the data ended inside the glyph.
bool ReadGlyph(FontReader& in, TDynaArray& glyph) {
    glyph.Clear();
    int32_t n;
    if (!in.ReadInt32(n)) return false;
    if (n <= 0) return true;
    const uint64_t present = std::min<uint64_t>(uint64_t(n), in.remaining() / kStrokeBytes);
    for (uint64_t i = 0; i < present; ++i) {
        uint8_t bytes[kStrokeBytes];
        if (!in.ReadBytes(bytes, sizeof bytes)) return false;
        const TStrokeRecord stroke = DecodeStroke(bytes);
        std::memcpy(glyph.Add(), &stroke, sizeof stroke);
    }
    return present == uint64_t(n);
}

bool ReadAdvances(FontReader& in, std::array<double, 224>& advances) {
    for (double& a : advances)
        if (!in.ReadDouble(a)) return false;
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Only regular files: a FIFO or a device would block or never end.
std::unique_ptr<std::FILE, FileCloser> OpenRegularFile(const std::string& fname, uint64_t& size) {
    const int fd = ::open(fname.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    size = uint64_t(st.st_size);
    return std::unique_ptr<std::FILE, FileCloser>(file);
}

}  // namespace

void OpenMLFontFile(TGameState& gs, const std::string& fname,
                    const std::function<void(const std::string&)>& reportError) {
    uint64_t size = 0;
    auto file = OpenRegularFile(fname, size);
    if (!file) {
        reportError("Konnte Datei " + fname + " nicht öffnen.");
        return;
    }
    FontReader in(file.get(), size);
    for (TDynaArray& glyph : gs.buchstaben)
        if (!ReadGlyph(in, glyph)) return;
    if (!ReadAdvances(in, gs.buchstabenbreitea)) return;
    ReadAdvances(in, gs.buchstabenbreitebc);
}

}  // namespace qw
