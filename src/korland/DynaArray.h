#pragma once
// TDynaArray: a growable array of fixed-size records in one zero-filled heap
// block, with a current record. Growth goes in steps of 100 records so a
// glyph of up to 100 strokes is one allocation that never moves.
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>

namespace qw {

// Raised when the heap refuses a block. The text is the message the user sees.
class EDynaArrayMemory : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDynaArray {
public:
    // thesize: bytes per record. typpoi: outer cursor that mirrors the current
    // record's address on every change of the current record; may be null.
    TDynaArray(uint32_t thesize, void** typpoi);
    ~TDynaArray();
    TDynaArray(const TDynaArray&) = delete;
    TDynaArray& operator=(const TDynaArray&) = delete;

    // Makes record Index current and returns its address. No range check.
    void* GetObject(uint32_t Index);
    void* items(uint32_t Index) { return GetObject(Index); }

    void* Add();
    void* Insert(int32_t nr);  // null unless 0 <= nr <= count
    void Delete(int32_t nr);
    void Change(int32_t nr1, int32_t nr2);
    void Clear();
    void First();
    bool Next();
    // Walk: after First, each call makes the next record current and returns
    // true until all records were visited.
    bool WhileNext();

    uint32_t count() const { return count_; }
    int32_t aobjnr() const { return aobjnr_; }
    void* aobj() const { return aobj_; }
    const void* poi() const { return poi_; }
    std::size_t amemsize() const { return amemsize_; }
    uint32_t size() const { return size_; }
    static constexpr uint32_t buffersize = 100;

private:
    bool AllocMoreMem(uint64_t newCount);
    void AllocLessMem(uint64_t newCount);
    void SetCurrent(void* record, int32_t nr);
    void ClearCurrent();
    uint8_t* RecordAt(uint64_t index) const { return poi_ + index * size_; }

    void** outeraobj_;
    void* aobj_ = nullptr;
    uint8_t* poi_ = nullptr;
    uint32_t count_ = 0;
    int32_t aobjnr_ = -1;
    std::size_t amemsize_ = 0;
    uint32_t size_;
};

// N arrays of one record size sharing one outer cursor, for fixed tables of
// arrays such as a font's glyphs.
template <std::size_t N>
std::array<TDynaArray, N> MakeDynaArrays(uint32_t thesize, void** typpoi) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<TDynaArray, N>{{((void)I, TDynaArray(thesize, typpoi))...}};
    }(std::make_index_sequence<N>{});
}

}  // namespace qw
