#pragma once
// The 201 x 201 x 201 world grid: index space, byte layout and wrap rules.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qw {

inline constexpr int kGridMin = -100;
inline constexpr int kGridMax = 100;
inline constexpr int kGridSize = 201;
inline constexpr std::size_t kGridPlane = 201u * 201u;            // 40401
inline constexpr std::size_t kGridCells = kGridPlane * 201u;      // 8,120,601
inline constexpr std::size_t kGridBytes = kGridCells * 4u;        // 32,482,404
inline constexpr double kWorldPeriod = 804.0;                     // 201 cells of 4 units

// Cell codes the game itself writes.
enum CellCode : int32_t {
    kEmpty = 0,
    kGrass = 1,
    kMetal = 2,
    kBrick = 3,
    kCobblestone = 4,
    kDirt = 5,
    kGranite = 6,
    kSand = 7,
    kWood = 8,
    kWeaponBlock = 9,
    kHillGrass = 10,
    kFire1 = 101,
    kEmerald = 102,
    kFire2 = 103,
};

// Brings any cell index into -100 ... 100. Equal to adding or subtracting 201
// until it fits, but in constant time, so a runaway index cannot hang a frame.
constexpr int WrapIndex(int64_t n) {
    // Reduced before the shift by 100, so the extremes of int64_t cannot overflow.
    int64_t m = (n % kGridSize + 100) % kGridSize;
    if (m < 0) m += kGridSize;
    return static_cast<int>(m - 100);
}

// Flat offset of cell (x, y, z), each already in -100 ... 100: x slowest, z fastest.
constexpr std::size_t CellOffset(int x, int y, int z) {
    return static_cast<std::size_t>(x + 100) * kGridPlane +
           static_cast<std::size_t>(y + 100) * kGridSize + static_cast<std::size_t>(z + 100);
}

constexpr bool InGrid(int64_t n) { return n >= kGridMin && n <= kGridMax; }

// The cell codes of the world. Lives on the heap (32 MB), is owned by the game
// state record and is never copied.
class TLevel {
public:
    TLevel();
    TLevel(const TLevel&) = delete;
    TLevel& operator=(const TLevel&) = delete;

    int32_t& at(int x, int y, int z) { return cells_[CellOffset(x, y, z)]; }
    int32_t at(int x, int y, int z) const { return cells_[CellOffset(x, y, z)]; }

    // Lookups whose indices may leave the grid.
    int32_t& wrapped(int64_t x, int64_t y, int64_t z) {
        return cells_[CellOffset(WrapIndex(x), WrapIndex(y), WrapIndex(z))];
    }
    int32_t wrapped(int64_t x, int64_t y, int64_t z) const {
        return cells_[CellOffset(WrapIndex(x), WrapIndex(y), WrapIndex(z))];
    }

    // Cell writes of a running round go through these three, so that a
    // network game can pass every changed cell on.
    void set(int x, int y, int z, int32_t code) { Write(CellOffset(x, y, z), code); }
    void setWrapped(int64_t x, int64_t y, int64_t z, int32_t code) {
        Write(CellOffset(WrapIndex(x), WrapIndex(y), WrapIndex(z)), code);
    }
    // Every cell of the grid that holds `from` becomes `to`.
    void replaceAll(int32_t from, int32_t to);
    // From now on the flat offset of each write above is appended to *log;
    // nullptr stops it.
    void LogWritesTo(std::vector<uint32_t>* log) { log_ = log; }

    void clear();
    int32_t* data() { return cells_.get(); }
    const int32_t* data() const { return cells_.get(); }

private:
    void Write(std::size_t offset, int32_t code) {
        cells_[offset] = code;
        if (log_) log_->push_back(static_cast<uint32_t>(offset));
    }

    std::unique_ptr<int32_t[]> cells_;
    std::vector<uint32_t>* log_ = nullptr;
};

// Wraps one stored figure coordinate: while below -400 add 804, then while
// above 400 subtract 804. Huge values are reduced with fmod first so the loops
// run at most a few times; a non-finite value is returned unchanged (callers
// that read outside data replace those before they get here).
double WrapPosition(double c);

// Round to nearest, halves to the even neighbour (the default FPU rounding).
int64_t RoundHalfEven(double v);
// Toward zero.
int64_t TruncTowardZero(double v);

}  // namespace qw
