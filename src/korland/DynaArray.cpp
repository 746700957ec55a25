#include "korland/DynaArray.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace qw {
namespace {

// Block sizes can exceed 64 bits for absurd record sizes and counts; they are
// computed wide so a size is never wrapped into a small, wrong allocation.
__extension__ typedef unsigned __int128 ByteCount;

// Capacity in bytes for count >= 1: count rounded up to the growth step.
ByteCount BlockSize(uint64_t count, uint32_t size) {
    return ByteCount((count - 1) / TDynaArray::buffersize + 1) * size * TDynaArray::buffersize;
}

std::string Decimal(ByteCount value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

[[noreturn]] void ReportNoMemory(int errorNumber, ByteCount bytes, const std::string& suffix = {}) {
    throw EDynaArrayMemory("Error " + std::to_string(errorNumber) + " while trying to allocate " +
                           Decimal(bytes) + " bytes of RAM. Not enough memory." + suffix);
}

uint8_t* AllocZeroed(ByteCount bytes) {
    if (bytes > ByteCount(std::numeric_limits<std::ptrdiff_t>::max())) {
        errno = ENOMEM;
        return nullptr;
    }
    return static_cast<uint8_t*>(std::calloc(1, std::max<std::size_t>(std::size_t(bytes), 1)));
}

}  // namespace

TDynaArray::TDynaArray(uint32_t thesize, void** typpoi) : outeraobj_(typpoi), size_(thesize) {}

TDynaArray::~TDynaArray() {
    std::free(poi_);
    poi_ = nullptr;
    aobj_ = nullptr;
    aobjnr_ = -1;
}

void TDynaArray::SetCurrent(void* record, int32_t nr) {
    aobjnr_ = nr;
    aobj_ = record;
    if (outeraobj_ != nullptr) *outeraobj_ = record;
}

void TDynaArray::ClearCurrent() { SetCurrent(nullptr, -1); }

void* TDynaArray::GetObject(uint32_t Index) {
    uint8_t* record = RecordAt(Index);
    SetCurrent(record, static_cast<int32_t>(Index));
    return record;
}

// Makes room for newCount records; false when the block already fits. The
// count is committed by the caller only after this succeeded, so a refused
// block leaves the array as it was.
bool TDynaArray::AllocMoreMem(uint64_t newCount) {
    const ByteCount wanted = BlockSize(newCount, size_);
    if (wanted == amemsize_) return false;
    uint8_t* block = AllocZeroed(wanted);
    if (newCount == 1 || poi_ == nullptr) {
        if (block == nullptr) ReportNoMemory(1, wanted);
    } else {
        if (block == nullptr) ReportNoMemory(2, wanted, std::to_string(errno));
        std::memcpy(block, poi_, std::size_t(std::min<ByteCount>(amemsize_, wanted)));
    }
    std::free(poi_);
    poi_ = block;
    amemsize_ = std::size_t(wanted);
    return true;
}

// A refused smaller block keeps the larger one, which still holds every record.
void TDynaArray::AllocLessMem(uint64_t newCount) {
    if (newCount == 0) {
        std::free(poi_);
        poi_ = nullptr;
        amemsize_ = 0;
        return;
    }
    const ByteCount wanted = BlockSize(newCount, size_);
    if (wanted == amemsize_) return;
    uint8_t* block = AllocZeroed(wanted);
    if (block == nullptr) ReportNoMemory(3, wanted);
    std::memcpy(block, poi_, std::size_t(std::min<ByteCount>(amemsize_, wanted)));
    std::free(poi_);
    poi_ = block;
    amemsize_ = std::size_t(wanted);
}

void* TDynaArray::Add() {
    const uint64_t newCount = uint64_t(count_) + 1;
    if (newCount > std::numeric_limits<uint32_t>::max()) {
        ReportNoMemory(2, BlockSize(newCount, size_), std::to_string(ENOMEM));
    }
    const bool freshBlock = AllocMoreMem(newCount);
    count_ = uint32_t(newCount);
    if (!freshBlock && size_ > 0) std::memset(RecordAt(count_ - 1), 0, size_);
    return GetObject(count_ - 1);
}

void* TDynaArray::Insert(int32_t nr) {
    if (nr < 0 || int64_t(nr) > int64_t(count_)) return nullptr;
    const uint64_t newCount = uint64_t(count_) + 1;
    if (newCount > std::numeric_limits<uint32_t>::max()) {
        ReportNoMemory(2, BlockSize(newCount, size_), std::to_string(ENOMEM));
    }
    AllocMoreMem(newCount);
    if (size_ > 0) {
        std::memmove(RecordAt(uint64_t(nr) + 1), RecordAt(nr), std::size_t(count_ - uint32_t(nr)) * size_);
        std::memset(RecordAt(nr), 0, size_);
    }
    count_ = uint32_t(newCount);
    return GetObject(uint32_t(nr));
}

void TDynaArray::Delete(int32_t nr) {
    if (nr < 0 || int64_t(nr) >= int64_t(count_)) return;
    if (size_ > 0) {
        std::memmove(RecordAt(nr), RecordAt(uint64_t(nr) + 1), std::size_t(count_ - 1 - uint32_t(nr)) * size_);
    }
    --count_;
    ClearCurrent();
    AllocLessMem(count_);
}

void TDynaArray::Change(int32_t nr1, int32_t nr2) {
    const auto inRange = [this](int32_t nr) { return nr >= 0 && int64_t(nr) < int64_t(count_); };
    if (!inRange(nr1) || !inRange(nr2)) return;
    if (nr1 != nr2 && size_ > 0) {
        std::vector<uint8_t> temp(RecordAt(nr1), RecordAt(nr1) + size_);
        std::memcpy(RecordAt(nr1), RecordAt(nr2), size_);
        std::memcpy(RecordAt(nr2), temp.data(), size_);
    }
    GetObject(uint32_t(nr2));
}

void TDynaArray::Clear() {
    count_ = 0;
    std::free(poi_);
    poi_ = nullptr;
    amemsize_ = 0;
    ClearCurrent();
}

void TDynaArray::First() {
    if (count_ > 0) GetObject(0);
}

bool TDynaArray::Next() {
    if (count_ == 0 || aobjnr_ < -1 || int64_t(aobjnr_) >= int64_t(count_) - 1) return false;
    GetObject(uint32_t(aobjnr_ + 1));
    return true;
}

bool TDynaArray::WhileNext() {
    if (count_ == 0 || aobjnr_ < 0 || int64_t(aobjnr_) > int64_t(count_) - 1) return false;
    GetObject(uint32_t(aobjnr_));
    ++aobjnr_;
    return true;
}

}  // namespace qw
