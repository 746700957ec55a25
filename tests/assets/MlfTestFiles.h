#pragma once
// Builds vector font files and glyph tables for the font and text tests.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/MlfFont.h"
#include "world/GameState.h"

namespace qw::test {

inline TStrokeRecord Stroke(int32_t kind, double x1, double y1, double x2, double y2, double x3 = 0,
                            double y3 = 0) {
    TStrokeRecord r{};
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2, r.x3 = x3, r.y3 = y3, r.kind = kind;
    return r;
}

// Puts a stroke straight into a glyph array, as the loader would.
inline void AddStroke(TGameState& gs, char16_t c, const TStrokeRecord& r) {
    std::memcpy(gs.buchstaben[c - 32].Add(), &r, sizeof r);
}

inline void SetAdvance(TGameState& gs, char16_t c, double a, double bc) {
    gs.buchstabenbreitea[c - 32] = a;
    gs.buchstabenbreitebc[c - 32] = bc;
}

// The bytes of a font file, little-endian, item after item.
class MlfBytes {
public:
    MlfBytes& Int32(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(char(uint32_t(v) >> (8 * i)));
        return *this;
    }
    MlfBytes& Double(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i) bytes_.push_back(char(bits >> (8 * i)));
        return *this;
    }
    MlfBytes& Record(const TStrokeRecord& r) {
        Double(r.x1).Double(r.y1).Double(r.x2).Double(r.y2).Double(r.x3).Double(r.y3).Int32(r.kind);
        bytes_.append(reinterpret_cast<const char*>(r.reserved), sizeof r.reserved);
        return *this;
    }
    MlfBytes& Advances(double first) {
        for (int i = 0; i < 224; ++i) Double(first + i);
        return *this;
    }
    const std::string& str() const { return bytes_; }
    std::string& str() { return bytes_; }

private:
    std::string bytes_;
};

inline std::filesystem::path WriteTempFile(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::path(::testing::TempDir()) / (std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

}  // namespace qw::test
