// Thousands of frames of random play per mode, one and two players, through
// the game's real frame on an off-screen context. After every frame the game
// state must hold together; a failure names the seed that replays it
// (QW_LONGPLAY_SEED=<seed>; QW_LONGPLAY_FRAMES=<n> sets the length).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>

#include "LongPlayGame.h"
#include "sim/Joyst.h"

namespace qw::test {
namespace {

constexpr auto kSlowestFrame = std::chrono::milliseconds(1000);  // even under the sanitizers
constexpr int kWholeGridEvery = 50;                               // frames

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qw-longplay-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TTempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// How often a key goes down in a frame where it is up; held keys come up
// again after about four frames, so there are taps and holds.
struct TKeyHabit {
    int key;
    double press;
};
constexpr TKeyHabit kKeys[] = {
    // Player 1: walking, jumping, running, materials, camera, screenshot,
    // menu, and the mouse buttons that dig, build and fire.
    {'W', 0.06}, {'S', 0.03}, {'A', 0.03}, {'D', 0.03}, {VK_SPACE, 0.03}, {VK_CONTROL, 0.02},
    {'1', 0.004}, {'2', 0.004}, {'3', 0.004}, {'4', 0.004}, {'5', 0.004}, {'6', 0.004}, {'7', 0.004},
    {'8', 0.004}, {'9', 0.01}, {VK_F5, 0.005}, {VK_F2, 0.001}, {VK_ESCAPE, 0.003},
    {VK_LBUTTON, 0.03}, {VK_RBUTTON, 0.03},
    // Player 2 on the keyboard.
    {VK_UP, 0.06}, {VK_DOWN, 0.03}, {VK_LEFT, 0.03}, {VK_RIGHT, 0.03}, {VK_RETURN, 0.02},
    {VK_NUMPAD0, 0.03}, {VK_NUMPAD4, 0.03}, {VK_NUMPAD6, 0.03}, {VK_NUMPAD8, 0.02}, {VK_NUMPAD2, 0.02},
    {VK_NUMPAD5, 0.01}, {VK_NUMPAD7, 0.01}, {VK_NUMPAD9, 0.01}, {VK_NUMPAD1, 0.03}, {VK_NUMPAD3, 0.03},
};
constexpr double kRelease = 0.25;

class TRandomPlayers {
public:
    explicit TRandomPlayers(uint64_t seed) : rng_(seed) {}

    // The inputs of the coming frame: keys, mouse movement, focus, the
    // music's status and, with two players, a gamepad that comes and goes.
    void Next(TLongPlayGame& game) {
        FakeServices& s = game.services();
        for (const TKeyHabit& habit : kKeys) {
            if (s.keysHeld.count(habit.key)) {
                if (Chance(kRelease)) s.keysHeld.erase(habit.key);
            } else if (Chance(habit.press)) {
                s.keysHeld.insert(habit.key);
            }
        }
        const TWindowGeometry& w = s.geometry;
        s.cursor = {w.left + w.width / 2 + Between(-30, 30), w.top + w.height / 2 + Between(-20, 20)};
        s.focus = !Chance(0.01);
        if (Chance(0.003)) s.statusReply = s.statusReply == "playing" ? "stopped" : "playing";
        s.ticks += 20;
        if (game.state().multiplayer) Gamepad(s);
    }

    // While a menu is open, now and then a press somewhere on its panel.
    bool MenuPress(int& x, int& y) {
        if (!Chance(0.05)) return false;
        x = TLongPlayGame::kWidth / 2 + Between(-320, 320);
        y = TLongPlayGame::kHeight / 2 + Between(-120, 140);
        return true;
    }

private:
    void Gamepad(FakeServices& s) {
        if (Chance(0.002)) s.joystickPresent = !s.joystickPresent;  // pulled out, plugged in
        s.joystickPollFails = Chance(0.01);
        for (uint32_t* axis : {&s.joyInfo.xpos, &s.joyInfo.ypos, &s.joyInfo.zpos, &s.joyInfo.rpos, &s.joyInfo.upos})
            if (Chance(0.1)) *axis = static_cast<uint32_t>(Between(0, 65535));
        if (Chance(0.05)) s.joyInfo.buttons ^= 1u << Between(0, 14);
    }

    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    std::mt19937_64 rng_;
};

struct TRun {
    const char* name;
    TGameChoice choice;
    uint64_t seed;
};

void PrintTo(const TRun& run, std::ostream* out) { *out << run.name; }

class LongPlay : public ::testing::TestWithParam<TRun> {};

TEST_P(LongPlay, RandomInputKeepsEveryFieldInRange) {
    const TRun& run = GetParam();
    const uint64_t seed = EnvNumber("QW_LONGPLAY_SEED", run.seed);
    const int frames = static_cast<int>(EnvNumber("QW_LONGPLAY_FRAMES", 2000));
    SCOPED_TRACE("replay with QW_LONGPLAY_SEED=" + std::to_string(seed));

    TTempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    TLongPlayGame game(folder.path(), seed);
    ASSERT_TRUE(game.ok()) << "set-up: " << game.loadProblems();
    FakeServices& services = game.services();
    services.geometry = {0, 0, TLongPlayGame::kWidth, TLongPlayGame::kHeight, TLongPlayGame::kWidth,
                         TLongPlayGame::kHeight};
    if (run.choice.twoPlayers) {
        services.joystickPresent = true;
        services.joyCaps = {0, 65535, 0, 65535, 0, 65535, 0, 65535, 0, 65535};
        JoystickInit(game.state().joy1, 0, services);
    }
    game.Show(run.choice);
    ASSERT_EQ(BrokenInvariant(game.state(), true), "") << "after the set-up";

    TRandomPlayers players(seed);
    auto slowest = std::chrono::steady_clock::duration::zero();
    for (int frame = 0; frame < frames; ++frame) {
        players.Next(game);
        const auto start = std::chrono::steady_clock::now();
        try {
            game.Frame();
        } catch (const std::exception& e) {
            FAIL() << "frame " << frame << " ended with an error: " << e.what();
        }
        const auto took = std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took);
        ASSERT_LT(took, kSlowestFrame) << "frame " << frame;
        int x = 0, y = 0;
        if (game.state().quitmode && players.MenuPress(x, y)) game.MouseDown(x, y);
        const bool wholeGrid = frame % kWholeGridEvery == kWholeGridEvery - 1 || frame == frames - 1;
        const std::string broken = BrokenInvariant(game.state(), wholeGrid);
        ASSERT_EQ(broken, "") << "after frame " << frame;
    }
    std::printf("longplay %s, seed %llu: %d frames, %d rounds, %d saves, %d screenshots, slowest frame %.1f ms\n",
                run.name, static_cast<unsigned long long>(seed), frames, game.rounds(), game.saves(),
                game.screenshots(), std::chrono::duration<double, std::milli>(slowest).count());
}

INSTANTIATE_TEST_SUITE_P(Modes, LongPlay,
                         ::testing::Values(TRun{"search_1p", {false, false, false}, 1001},
                                           TRun{"search_2p", {false, false, true}, 1002},
                                           TRun{"fight_1p", {false, true, false}, 1003},
                                           TRun{"fight_2p", {false, true, true}, 1004},
                                           TRun{"creative_1p", {true, false, false}, 1005},
                                           TRun{"creative_2p", {true, false, true}, 1006}),
                         [](const ::testing::TestParamInfo<TRun>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qw::test
