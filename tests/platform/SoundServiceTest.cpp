#include "platform/SoundService.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "TestEnvironment.h"
#include "WavWriter.h"

namespace qw {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string Status(SoundService& sound, const std::string& alias) {
    std::string reply = "(untouched)";
    sound.Command("status " + alias + " mode", &reply);
    return reply;
}

std::string OpenCommand(const std::filesystem::path& file, const std::string& alias) {
    return "open \"" + file.string() + "\" alias " + alias;
}

// SDL's dummy driver has no device behind it but consumes the sound in real
// time, so the end of a track can be waited for.
class SoundServiceOnDummyDriver : public testing::Test {
protected:
    void SetUp() override {
        env.Set("SDL_AUDIODRIVER", "dummy");
        sound = std::make_unique<SoundService>();
        ASSERT_TRUE(sound->HasAudio());
    }
    void TearDown() override { sound.reset(); }

    std::filesystem::path Tone(const std::string& name, double seconds) {
        // A blank in the folder name checks the quoted path on the way.
        std::filesystem::path folder = dir.path() / "Sound Dateien";
        std::filesystem::create_directories(folder);
        std::filesystem::path file = folder / name;
        EXPECT_TRUE(test::WriteToneWav(file.string(), seconds));
        return file;
    }

    // Waits at most `limit` for the alias's status to differ from `from`.
    bool StatusLeaves(const std::string& alias, const std::string& from, std::chrono::milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (Status(*sound, alias) != from) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    test::ScopedEnv env;
    test::TempDir dir;
    std::unique_ptr<SoundService> sound;
};

TEST_F(SoundServiceOnDummyDriver, StatusStaysWhilePlayingAndChangesAtTheEnd) {
    sound->Command(OpenCommand(Tone("kurz.wav", 0.5), "kurz"));
    const std::string before = Status(*sound, "kurz");
    ASSERT_NE(before, "(untouched)");

    sound->Command("play kurz from 0");
    const std::string playing = Status(*sound, "kurz");
    EXPECT_NE(playing, before);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(Status(*sound, "kurz"), playing);

    ASSERT_TRUE(StatusLeaves("kurz", playing, 10000ms));
    const std::string stopped = Status(*sound, "kurz");
    EXPECT_EQ(stopped, before);
    EXPECT_EQ(Status(*sound, "kurz"), stopped);
}

TEST_F(SoundServiceOnDummyDriver, PlayFromZeroRestartsARunningSound) {
    // A long tone leaves wide margins for a loaded machine.
    sound->Command(OpenCommand(Tone("eins.wav", 3.0), "eins"));
    const auto start = Clock::now();
    sound->Command("play eins from 0");
    const std::string playing = Status(*sound, "eins");

    std::this_thread::sleep_for(1500ms);
    sound->Command("play eins from 0");
    // Past the end of the first start, within the second.
    std::this_thread::sleep_until(start + 3750ms);
    EXPECT_EQ(Status(*sound, "eins"), playing);
    EXPECT_TRUE(StatusLeaves("eins", playing, 10000ms));
}

TEST_F(SoundServiceOnDummyDriver, DifferentAliasesSoundTogether) {
    sound->Command(OpenCommand(Tone("a.wav", 1.0), "launch"));
    sound->Command(OpenCommand(Tone("b.wav", 1.0), "bomb"));
    sound->Command("play launch from 0");
    const std::string playing = Status(*sound, "launch");
    sound->Command("play bomb from 0");
    EXPECT_EQ(Status(*sound, "launch"), playing);
    EXPECT_EQ(Status(*sound, "bomb"), playing);
}

TEST_F(SoundServiceOnDummyDriver, AliasWhoseFileFailedDoesNothing) {
    sound->Command(OpenCommand(dir.path() / "fehlt.wav", "fehlt"));
    std::filesystem::path notSound = dir.path() / "kaputt.wav";
    std::ofstream(notSound) << "RIFF but not really a wave file";
    sound->Command(OpenCommand(notSound, "kaputt"));

    for (const char* alias : {"fehlt", "kaputt", "nie"}) {
        sound->Command(std::string("play ") + alias + " from 0");
        EXPECT_EQ(Status(*sound, alias), "(untouched)") << alias;
    }
    sound->Command("status");
    sound->Command("play \"");
    sound->Command("status kaputt mode");  // no reply buffer
}

TEST_F(SoundServiceOnDummyDriver, ASecondOpenKeepsTheFirstFile) {
    sound->Command(OpenCommand(Tone("erst.wav", 0.5), "musik"));
    sound->Command(OpenCommand(dir.path() / "fehlt.mp3", "musik"));
    sound->Command("play musik from 0");
    const std::string playing = Status(*sound, "musik");
    EXPECT_TRUE(StatusLeaves("musik", playing, 10000ms));
}

TEST_F(SoundServiceOnDummyDriver, PlaysMp3Files) {
    if (std::system("command -v lame >/dev/null 2>&1") != 0) GTEST_SKIP() << "lame is needed to make an MP3";
    const std::filesystem::path wav = Tone("ton.wav", 0.5);
    const std::filesystem::path mp3 = dir.path() / "ton.mp3";
    const std::string convert = "lame --quiet \"" + wav.string() + "\" \"" + mp3.string() + "\"";
    ASSERT_EQ(std::system(convert.c_str()), 0);

    sound->Command(OpenCommand(mp3, "bomb"));
    const std::string idle = Status(*sound, "bomb");
    ASSERT_NE(idle, "(untouched)");
    sound->Command("play bomb from 0");
    EXPECT_NE(Status(*sound, "bomb"), idle);
}

TEST_F(SoundServiceOnDummyDriver, ALongSoundStreamsAndKeepsTheRules) {
    // Streamed from one second on: the first long sound streams, the second
    // long one is decoded, and all of them sound together.
    sound = std::make_unique<SoundService>(1.0);
    sound->Command(OpenCommand(Tone("musik.wav", 2.5), "musik"));
    sound->Command(OpenCommand(Tone("lang.wav", 2.5), "lang"));
    sound->Command(OpenCommand(Tone("kurz.wav", 0.3), "kurz"));
    const std::string idle = Status(*sound, "musik");
    ASSERT_NE(idle, "(untouched)");

    const auto start = Clock::now();
    for (const char* alias : {"musik", "lang", "kurz"}) sound->Command(std::string("play ") + alias + " from 0");
    const std::string playing = Status(*sound, "musik");
    EXPECT_NE(playing, idle);
    EXPECT_EQ(Status(*sound, "lang"), playing);
    EXPECT_EQ(Status(*sound, "kurz"), playing);

    // Started over half-way, the music plays past the end of its first start.
    std::this_thread::sleep_for(1250ms);
    sound->Command("play musik from 0");
    std::this_thread::sleep_until(start + 3000ms);
    EXPECT_EQ(Status(*sound, "musik"), playing);
    EXPECT_TRUE(StatusLeaves("musik", playing, 10000ms));
    EXPECT_EQ(Status(*sound, "musik"), idle);
}

TEST(SoundServiceWithoutAudio, AcceptsEveryCommandAndStaysSilent) {
    test::ScopedEnv env;
    test::TempDir dir;
    env.Set("SDL_AUDIODRIVER", "no-such-driver");
    const std::string file = (dir.path() / "ton.wav").string();
    ASSERT_TRUE(test::WriteToneWav(file, 0.2));

    SoundService sound;
    EXPECT_FALSE(sound.HasAudio());
    sound.Command("open \"" + file + "\" alias musik");
    sound.Command("play musik from 0");
    const std::string first = Status(sound, "musik");
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Status(sound, "musik"), first);
}

}  // namespace
}  // namespace qw
