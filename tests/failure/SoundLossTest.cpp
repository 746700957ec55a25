// A sound device that goes away while the game runs: SDL's disk driver
// writing into /dev/full fails its first write and drops the device. The
// game never hears of it: commands return at once, the music check still sees
// a track end, and shutting down does not wait for the lost device.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <thread>

#include "platform/SoundService.h"
#include "platform/TestEnvironment.h"
#include "platform/WavWriter.h"

namespace qw {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string Status(SoundService& sound, const std::string& alias) {
    std::string reply = "(none)";
    sound.Command("status " + alias + " mode", &reply);
    return reply;
}

TEST(SoundDeviceLost, CommandsGoOnSilentlyAndTheMusicCheckStillSeesTheEnd) {
    test::ScopedEnv env;
    test::TempDir dir;
    env.Set("SDL_AUDIODRIVER", "disk");
    env.Set("SDL_DISKAUDIOFILE", "/dev/full");
    const std::string tone = (dir.path() / "ton.wav").string();
    ASSERT_TRUE(test::WriteToneWav(tone, 0.4));

    const auto started = Clock::now();
    {
        SoundService sound;
        if (!sound.HasAudio()) GTEST_SKIP() << "SDL has no disk audio driver here";
        sound.Command("open \"" + tone + "\" alias musik");
        sound.Command("open \"" + tone + "\" alias bomb");
        const std::string idle = Status(sound, "musik");
        sound.Command("play musik from 0");
        const std::string playing = Status(sound, "musik");
        ASSERT_NE(playing, idle);

        // The first block the device plays cannot be written: it is gone.
        const auto deadline = Clock::now() + 2s;
        while (SDL_GetAudioStatus() != SDL_AUDIO_STOPPED && Clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        ASSERT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_STOPPED) << "the device did not go away";

        for (int i = 0; i < 50; ++i) sound.Command("play bomb from 0");
        // The track still runs out in real time, so the music check restarts it.
        const auto end = Clock::now() + 3s;
        while (Status(sound, "musik") == playing && Clock::now() < end) std::this_thread::sleep_for(10ms);
        EXPECT_EQ(Status(sound, "musik"), idle);
        sound.Command("play musik from 0");
        EXPECT_EQ(Status(sound, "musik"), playing);
    }
    EXPECT_LT(Clock::now() - started, 8s);
}

}  // namespace
}  // namespace qw
