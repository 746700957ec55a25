#include "shell/ErrorBox.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "korland/DynaArray.h"

namespace qw {
namespace {

TEST(ErrorBox, TheRecordArraysMemoryErrorsKeepTheirTextAndHaveNoCaptionOfTheirOwn) {
    // The operating system's error code comes straight after the full stop;
    // nothing may follow it.
    const TErrorBox larger = ErrorBoxFor(
        EDynaArrayMemory("Error 2 while trying to allocate 20800 bytes of RAM. Not enough memory.12"));
    EXPECT_EQ(larger.kind, TErrorBoxKind::NoMemory);
    EXPECT_EQ(larger.text, "Error 2 while trying to allocate 20800 bytes of RAM. Not enough memory.12");
    const TErrorBox fresh = ErrorBoxFor(
        EDynaArrayMemory("Error 1 while trying to allocate 10400 bytes of RAM. Not enough memory."));
    EXPECT_EQ(fresh.kind, TErrorBoxKind::NoMemory);
    EXPECT_EQ(fresh.text, "Error 1 while trying to allocate 10400 bytes of RAM. Not enough memory.");
}

TEST(ErrorBox, EverythingElseIsTheStandardErrorBox) {
    const TErrorBox zlib = ErrorBoxFor(std::runtime_error("incorrect header check"));
    EXPECT_EQ(zlib.kind, TErrorBoxKind::Standard);
    EXPECT_EQ(zlib.text, "incorrect header check.");
    EXPECT_EQ(ErrorBoxFor(std::runtime_error("Fertig.")).text, "Fertig.");
}

}  // namespace
}  // namespace qw
