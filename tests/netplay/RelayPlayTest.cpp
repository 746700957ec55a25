// A network game over a bad link: the guest reaches the host through a relay
// that loses 5 % of the datagrams each way, delays each by 30 to 80 ms and
// repeats some. Both players play 3,000 frames of each mode through the
// game windows' own ticks; once they stop and the link is quiet, the guest's
// replica must equal the host's record in every field it draws or shows and
// in every cell. (QW_RELAY_FRAMES=<n> sets the length.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "LossyRelay.h"
#include "NetPlayGames.h"
#include "net/Replica.h"
#include "shell/NetworkClock.h"

namespace qw::test {
namespace {

// Each frame takes at least this long, so the relay's delays span several.
constexpr auto kFramePace = std::chrono::milliseconds(6);
// After the play: at least this long quiet, then until equal, at most the second.
constexpr int64_t kQuietMinimumMs = 2000;
constexpr int64_t kQuietMaximumMs = 20000;

int Frames() {
    const char* text = std::getenv("QW_RELAY_FRAMES");
    return text && *text ? std::atoi(text) : 3000;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : ", ") + name;
    return all;
}

std::string EndReasons(TNetPlayGames& games) {
    return "host ended: " + std::to_string(static_cast<int>(games.hostSession().endReason())) + " " +
           games.hostSession().endDetail() +
           "; guest ended: " + std::to_string(static_cast<int>(games.guestSession().endReason())) + " " +
           games.guestSession().endDetail();
}

struct TRun {
    TNetPlayMode mode;
    uint64_t seed;
};

void PrintTo(const TRun& run, std::ostream* out) { *out << run.mode.name; }

class RelayPlay : public ::testing::TestWithParam<TRun> {};

TEST_P(RelayPlay, ReplicaEqualsTheHostsRecordOnceTheLinkIsQuiet) {
    const TRun& run = GetParam();
    const auto started = std::chrono::steady_clock::now();
    TNetPlayGames games(run.mode, run.seed);
    ASSERT_EQ(games.problems(), "");
    TLossyRelay relay(games.hostPort(), TRelaySettings{run.seed});
    ASSERT_TRUE(relay.ok());
    ASSERT_TRUE(games.Join(relay.port())) << games.problems();
    TNetPlayScript script(games, run.seed);
    const TGameState& host = *games.host().state;
    const TGameState& guest = *games.guest().state;

    // What happened, so that the test cannot pass on a game where nothing did.
    int hostMissileFrames = 0, guestMissileFrames = 0, replicaMissileFrames = 0, menuFrames = 0, waitingTicks = 0;
    int roundEnds = 0;
    const int frames = Frames();
    for (int frame = 0; frame < frames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        script.BeforeTick();
        const bool roundWasOver = host.emeraldfound;
        ASSERT_TRUE(games.Tick()) << "frame " << frame << ": " << EndReasons(games);
        roundEnds += !roundWasOver && host.emeraldfound;
        hostMissileFrames += host.missle;
        guestMissileFrames += host.gmissle;
        replicaMissileFrames += guest.missle;
        menuFrames += host.quitmode;
        waitingTicks += !games.hostSession().GuestReady();
        std::this_thread::sleep_until(start + kFramePace);
    }

    script.Quiet();
    const int64_t quietFrom = NetworkClockMs();
    std::vector<std::string> differences{"not compared yet"};
    for (int tick = 0; NetworkClockMs() - quietFrom < kQuietMaximumMs; ++tick) {
        const auto start = std::chrono::steady_clock::now();
        script.BeforeTick();
        ASSERT_TRUE(games.Tick()) << "quiet tick " << tick << ": " << EndReasons(games);
        if (NetworkClockMs() - quietFrom >= kQuietMinimumMs && tick % 5 == 0) {
            differences = net::ReplicaDifferences(host, guest);
            if (differences.empty()) break;
        }
        std::this_thread::sleep_until(start + kFramePace);
    }
    EXPECT_EQ(Joined(differences), "");

    const TRelayCounts up = relay.toHost(), down = relay.toGuest();
    EXPECT_GT(up.dropped, 0u);
    EXPECT_GT(down.dropped, 0u);
    EXPECT_GT(up.repeated + down.repeated, 0u);
    EXPECT_GT(up.overtaken + down.overtaken, 0u);
    EXPECT_GE(games.roundsFromGuest(), 1);
    EXPECT_GE(games.roundsFromHost(), 1);
    EXPECT_GT(menuFrames, 0);
    EXPECT_GT(games.hostBlocksBuilt(), 0);
    EXPECT_GT(games.guestBlocksBuilt(), 0);
    if (!run.mode.creative) {
        EXPECT_GT(hostMissileFrames, 0);
        EXPECT_GT(guestMissileFrames, 0);
        EXPECT_GT(replicaMissileFrames, 0);
        EXPECT_GT(games.guestSounds(), 0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("relay %s, %.1f s: %d frames, %d of them waiting for a world; %d rounds, %d asked for by the guest, "
                "%d by the host, %d ended by the game\n",
                run.mode.name, seconds, frames, waitingTicks, games.rounds(), games.roundsFromGuest(),
                games.roundsFromHost(), roundEnds);
    std::printf("  menu open %d frames; missiles in flight: host's %d frames, guest's %d; lives %d and %d; blocks "
                "built by the host %lld, by the guest %lld; event sounds %d on the host, %d on the guest\n",
                menuFrames, hostMissileFrames, guestMissileFrames, host.leben, host.gleben,
                static_cast<long long>(games.hostBlocksBuilt()), static_cast<long long>(games.guestBlocksBuilt()),
                games.hostSounds(), games.guestSounds());
    for (const auto& [name, c] : {std::pair{"to the host", up}, std::pair{"to the guest", down}})
        std::printf("  datagrams %s: %llu, lost %llu, repeated %llu, overtaken %llu\n", name,
                    static_cast<unsigned long long>(c.arrived), static_cast<unsigned long long>(c.dropped),
                    static_cast<unsigned long long>(c.repeated), static_cast<unsigned long long>(c.overtaken));
}

INSTANTIATE_TEST_SUITE_P(Modes, RelayPlay,
                         ::testing::Values(TRun{{"search", false, false}, 1901}, TRun{{"fight", false, true}, 1902},
                                           TRun{{"creative", true, false}, 1903}),
                         [](const ::testing::TestParamInfo<TRun>& info) { return std::string(info.param.mode.name); });

}  // namespace
}  // namespace qw::test
