#include "platform/SoundCommandParser.h"

#include <gtest/gtest.h>

namespace qw {
namespace {

using Verb = SoundCommandText::Verb;

TEST(SoundCommandParser, ReadsTheThreeCommandsTheGameSends) {
    auto open = ParseSoundCommand("open \"/opt/Quader Welt/data/sound.mp3\" alias musik");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->verb, Verb::Open);
    EXPECT_EQ(open->path, "/opt/Quader Welt/data/sound.mp3");
    EXPECT_EQ(open->alias, "musik");

    auto play = ParseSoundCommand("play gewonnen from 0");
    ASSERT_TRUE(play);
    EXPECT_EQ(play->verb, Verb::Play);
    EXPECT_EQ(play->alias, "gewonnen");

    auto status = ParseSoundCommand("status musik mode");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->verb, Verb::Status);
    EXPECT_EQ(status->alias, "musik");
}

TEST(SoundCommandParser, KeywordsAndAliasesIgnoreCaseAndExtraBlanks) {
    auto open = ParseSoundCommand("  OPEN   /tmp/a.wav\tAlias   Launch  ");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->path, "/tmp/a.wav");
    EXPECT_EQ(open->alias, "launch");

    auto play = ParseSoundCommand("Play LAUNCH From 0");
    ASSERT_TRUE(play);
    EXPECT_EQ(play->alias, "launch");
}

TEST(SoundCommandParser, GarbledCommandsAreRefused) {
    for (const char* text : {
             "",
             "   ",
             "stop musik",
             "play musik",
             "play musik from 5",
             "play musik from 0 now",
             "status musik",
             "status musik position",
             "open \"/tmp/a.wav\" musik",
             "open \"/tmp/a.wav\" alias",
             "open \"/tmp/a.wav alias musik",
             "open \"/tmp/a\"b.wav alias musik",
             "open /tmp/a\"b.wav alias musik",
             "open \"\" alias musik",
             "open \"/tmp/a.wav\" alias \"\"",
         }) {
        EXPECT_FALSE(ParseSoundCommand(text)) << text;
    }
}

}  // namespace
}  // namespace qw
