#include "korland/DynaArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

namespace qw {
namespace {

constexpr uint32_t kRecord = 104;

void Stamp(void* record, uint32_t value) { std::memcpy(record, &value, sizeof value); }
uint32_t StampOf(const void* record) {
    uint32_t value;
    std::memcpy(&value, record, sizeof value);
    return value;
}
bool AllZero(const void* record, uint32_t size) {
    const auto* bytes = static_cast<const uint8_t*>(record);
    for (uint32_t i = 0; i < size; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

// n records stamped 0 ... n - 1
void Fill(TDynaArray& a, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) Stamp(a.Add(), i);
}

TEST(DynaArray, GrowsInStepsOfHundredRecordsAndShrinksBack) {
    void* outer = nullptr;
    TDynaArray a(kRecord, &outer);
    EXPECT_EQ(a.amemsize(), 0u);
    EXPECT_EQ(a.poi(), nullptr);

    void* first = a.Add();
    EXPECT_EQ(a.amemsize(), 100u * kRecord);
    EXPECT_EQ(outer, first);
    EXPECT_TRUE(AllZero(first, kRecord));
    Stamp(first, 0);
    for (uint32_t i = 1; i < 100; ++i) Stamp(a.Add(), i);
    EXPECT_EQ(a.amemsize(), 100u * kRecord);

    void* r101 = a.Add();
    EXPECT_EQ(a.count(), 101u);
    EXPECT_EQ(a.amemsize(), 200u * kRecord);
    EXPECT_TRUE(AllZero(r101, kRecord));
    EXPECT_EQ(a.aobjnr(), 100);
    EXPECT_EQ(outer, r101);
    for (uint32_t i = 0; i < 100; ++i) EXPECT_EQ(StampOf(a.GetObject(i)), i);

    a.Delete(100);
    EXPECT_EQ(a.count(), 100u);
    EXPECT_EQ(a.amemsize(), 100u * kRecord);
    EXPECT_EQ(a.aobjnr(), -1);
    EXPECT_EQ(a.aobj(), nullptr);
    EXPECT_EQ(outer, nullptr);
    for (uint32_t i = 0; i < 100; ++i) EXPECT_EQ(StampOf(a.GetObject(i)), i);

    // A record added into old capacity must not show what a deleted one held.
    Stamp(a.GetObject(99), 0xDEAD);
    a.Delete(99);
    EXPECT_TRUE(AllZero(a.Add(), kRecord));

    for (int i = 99; i >= 0; --i) a.Delete(i);
    EXPECT_EQ(a.count(), 0u);
    EXPECT_EQ(a.amemsize(), 0u);
    EXPECT_EQ(a.poi(), nullptr);
}

TEST(DynaArray, InsertMovesTheTailUpAndAcceptsOnlyZeroToCount) {
    void* outer = nullptr;
    TDynaArray a(kRecord, &outer);
    Fill(a, 3);

    EXPECT_EQ(a.Insert(-1), nullptr);
    EXPECT_EQ(a.Insert(4), nullptr);  // count + 1
    EXPECT_EQ(a.count(), 3u);

    void* middle = a.Insert(1);
    ASSERT_NE(middle, nullptr);
    EXPECT_TRUE(AllZero(middle, kRecord));
    EXPECT_EQ(a.aobjnr(), 1);
    EXPECT_EQ(outer, middle);
    Stamp(middle, 7);

    void* end = a.Insert(int32_t(a.count()));  // at count: appends
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(a.count(), 5u);
    EXPECT_EQ(a.aobjnr(), 4);
    Stamp(end, 9);
    const uint32_t expected[] = {0, 7, 1, 2, 9};
    for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(StampOf(a.GetObject(i)), expected[i]);

    // Inserting at 0 across the growth step keeps all 100 old records.
    TDynaArray b(kRecord, nullptr);
    Fill(b, 100);
    Stamp(b.Insert(0), 1000);
    EXPECT_EQ(b.amemsize(), 200u * kRecord);
    EXPECT_EQ(StampOf(b.GetObject(0)), 1000u);
    for (uint32_t i = 1; i <= 100; ++i) EXPECT_EQ(StampOf(b.GetObject(i)), i - 1);
}

TEST(DynaArray, DeleteAndChangeIgnoreIndexesOutsideTheRecords) {
    void* outer = reinterpret_cast<void*>(0x1);
    TDynaArray empty(kRecord, &outer);
    empty.Delete(0);
    empty.Delete(-1);
    empty.Change(0, 0);
    EXPECT_EQ(empty.count(), 0u);
    EXPECT_EQ(outer, reinterpret_cast<void*>(0x1));  // untouched: no current record changed

    TDynaArray a(kRecord, &outer);
    Fill(a, 3);
    a.Delete(3);
    a.Change(0, 3);
    a.Change(-1, 1);
    EXPECT_EQ(a.count(), 3u);
    EXPECT_EQ(a.aobjnr(), 2);

    a.Change(0, 2);
    EXPECT_EQ(a.aobjnr(), 2);
    EXPECT_EQ(outer, a.aobj());
    EXPECT_EQ(StampOf(a.GetObject(0)), 2u);
    EXPECT_EQ(StampOf(a.GetObject(2)), 0u);

    a.Delete(0);
    EXPECT_EQ(StampOf(a.GetObject(0)), 1u);
    EXPECT_EQ(StampOf(a.GetObject(1)), 0u);
}

TEST(DynaArray, WalkVisitsEveryRecordOnceAndEndsAtCount) {
    void* outer = nullptr;
    TDynaArray a(kRecord, &outer);
    a.GetObject(0);  // aobjnr 0 on an empty array
    EXPECT_FALSE(a.WhileNext());
    a.First();
    EXPECT_EQ(a.aobjnr(), 0);  // First changes nothing when empty
    EXPECT_FALSE(a.Next());

    Fill(a, 4);
    a.First();
    uint32_t visited = 0;
    while (a.WhileNext()) {
        EXPECT_EQ(StampOf(outer), visited);
        EXPECT_EQ(outer, a.aobj());
        ++visited;
    }
    EXPECT_EQ(visited, 4u);
    EXPECT_EQ(a.aobjnr(), 4);
    EXPECT_FALSE(a.WhileNext());

    // Next steps from "none" to the first and stops at the last record.
    a.Clear();
    Fill(a, 2);
    a.Delete(1);
    EXPECT_EQ(a.aobjnr(), -1);
    EXPECT_TRUE(a.Next());
    EXPECT_EQ(a.aobjnr(), 0);
    EXPECT_FALSE(a.Next());
}

TEST(DynaArray, ClearReleasesTheBlockAndForgetsTheCurrentRecord) {
    void* outer = nullptr;
    TDynaArray a(kRecord, &outer);
    Fill(a, 150);
    a.Clear();
    EXPECT_EQ(a.count(), 0u);
    EXPECT_EQ(a.poi(), nullptr);
    EXPECT_EQ(a.amemsize(), 0u);
    EXPECT_EQ(a.aobjnr(), -1);
    EXPECT_EQ(outer, nullptr);
    EXPECT_TRUE(AllZero(a.Add(), kRecord));
    EXPECT_EQ(a.amemsize(), 100u * kRecord);
}

TEST(DynaArray, ArraysMadeTogetherShareTheOuterCursor) {
    void* outer = nullptr;
    auto arrays = MakeDynaArrays<3>(kRecord, &outer);
    void* r = arrays[2].Add();
    EXPECT_EQ(outer, r);
    void* q = arrays[0].Add();
    EXPECT_EQ(outer, q);
    EXPECT_EQ(arrays[1].size(), kRecord);
}

// The heap refuses a 429 GB block only when the kernel does not overcommit
// without limit.
bool KernelRefusesHugeBlocks() {
    std::ifstream policy("/proc/sys/vm/overcommit_memory");
    int mode = -1;
    policy >> mode;
    return mode == 0 || mode == 2;
}

TEST(DynaArray, ARefusedBlockIsReportedAndLeavesTheArrayUsable) {
    if (!KernelRefusesHugeBlocks()) GTEST_SKIP() << "kernel overcommits without limit";
    void* outer = nullptr;
    TDynaArray a(0xFFFFFFFFu, &outer);
    try {
        a.Add();
        FAIL() << "no error";
    } catch (const EDynaArrayMemory& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Error 1 while trying to allocate 429496729500 bytes of RAM. Not enough memory.");
    }
    EXPECT_EQ(a.count(), 0u);
    EXPECT_EQ(a.poi(), nullptr);
}

}  // namespace
}  // namespace qw
