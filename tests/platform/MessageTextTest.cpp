#include "platform/MessageBoxes.h"

#include <gtest/gtest.h>

namespace qw {
namespace {

TEST(StandardErrorText, FullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(StandardErrorText("File not found"), "File not found.");
    EXPECT_EQ(StandardErrorText("Fehler 42"), "Fehler 42.");
    EXPECT_EQ(StandardErrorText("Datei /tmp/a"), "Datei /tmp/a.");  // '/' is just above '.'
    EXPECT_EQ(StandardErrorText("Fertig."), "Fertig.");
    EXPECT_EQ(StandardErrorText("Wirklich?"), "Wirklich?.");
    EXPECT_EQ(StandardErrorText("Abbruch!"), "Abbruch!");
    EXPECT_EQ(StandardErrorText("(x)"), "(x)");
    EXPECT_EQ(StandardErrorText("a-"), "a-");
    EXPECT_EQ(StandardErrorText("Zeile\n"), "Zeile\n");
    EXPECT_EQ(StandardErrorText(""), "");
}

TEST(StandardErrorText, NonAsciiLastLetterGetsAFullStop) {
    EXPECT_EQ(StandardErrorText("Ungültiges Maß"), "Ungültiges Maß.");
    EXPECT_EQ(StandardErrorText("Größe ä"), "Größe ä.");
}

}  // namespace
}  // namespace qw
