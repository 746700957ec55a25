#include "platform/UserDirsFile.h"

#include <gtest/gtest.h>

namespace qw {
namespace {

const std::string kKey = "XDG_PICTURES_DIR";
const std::string kHome = "/home/anna";

std::optional<std::string> Pictures(const std::string& text) {
    return ParseUserDirsEntry(text, kKey, kHome);
}

TEST(UserDirsFile, ReadsTheUsualForms) {
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"), "/home/anna/Bilder");
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=\"/data/Fotos\""), "/data/Fotos");
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=\"$HOME\"\n"), "/home/anna");
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=$HOME/Bilder\r\n"), "/home/anna/Bilder");
    EXPECT_EQ(Pictures("  XDG_PICTURES_DIR = \"$HOME/Meine Bilder\"  # Fotos\n"), "/home/anna/Meine Bilder");
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=\"$HOME/Say \\\"cheese\\\"\""), "/home/anna/Say \"cheese\"");
}

TEST(UserDirsFile, PicksItsKeyAmongOthers) {
    const std::string text =
        "# comment XDG_PICTURES_DIR=\"/falsch\"\n"
        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
        "XDG_PICTURES_DIR_OLD=\"/falsch\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
        "XDG_VIDEOS_DIR=\"$HOME/Videos\"\n";
    EXPECT_EQ(Pictures(text), "/home/anna/Bilder");
}

TEST(UserDirsFile, LastLineWinsEvenWhenUnusable) {
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=\"/eins\"\nXDG_PICTURES_DIR=\"/zwei\"\n"), "/zwei");
    EXPECT_EQ(Pictures("XDG_PICTURES_DIR=\"/eins\"\nXDG_PICTURES_DIR=\"Bilder\"\n"), std::nullopt);
}

TEST(UserDirsFile, RejectsWhatIsNoAbsoluteFolder) {
    for (const char* text : {
             "",
             "XDG_PICTURES_DIR=\"Bilder\"",
             "XDG_PICTURES_DIR=\"\"",
             "XDG_PICTURES_DIR=",
             "XDG_PICTURES_DIR=\"$HOME/Bilder",
             "XDG_PICTURES_DIR=\"$HOMEPAGE/x\"",
             "XDG_PICTURES_DIR=\"~/Bilder\"",
             "XDG_PICTURES_DIR",
             "\"XDG_PICTURES_DIR\"=\"/x\"",
         }) {
        EXPECT_EQ(Pictures(text), std::nullopt) << text;
    }
    EXPECT_EQ(ParseUserDirsEntry("XDG_PICTURES_DIR=\"$HOME/Bilder\"", kKey, ""), std::nullopt);
}

TEST(UserDirsFile, SurvivesHostileText) {
    std::string longLine = "XDG_PICTURES_DIR=\"/" + std::string(200000, 'x') + "\"";
    EXPECT_EQ(Pictures(longLine)->size(), 200001u);
    EXPECT_EQ(Pictures(std::string(100000, '\n') + std::string(1000, '=') + "\\"), std::nullopt);
    std::string binary(4096, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37);
    EXPECT_EQ(Pictures(binary), std::nullopt);
}

}  // namespace
}  // namespace qw
