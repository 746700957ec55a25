// Network play between a host and a guest of this machine over the loopback
// interface, both game windows ticking in this process as the game's do
// (tests/netplay's harness, drawing into a small off-screen context):
//  - NetPlayTraffic: 3,000 frames of two scripted players in a fight, paced
//    at the game's 20 ms, the bytes each way per one-second window of 50
//    frames, and the network work of each frame on both sides;
//  - NetWorldTransfer: a generated world from the host's round start until
//    the guest's replica holds it, and its bytes; here each window ticks on
//    a thread of its own, as on two computers.
// Bytes are what the sessions count: ENet's UDP payloads with its own
// headers, acknowledgements and pings (not the IP and UDP headers).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Harness.h"
#include "NetPlayGames.h"
#include "world/GridStream.h"

namespace {

using qw::bench::Median;
using qw::test::TNetPlayGames;

constexpr double kTargetKBPerSecond = 20;
constexpr double kTargetFrameNetworkMs = 0.2;
constexpr double kTargetWorldSeconds = 0.5;
constexpr double kTargetWorldMB = 3;
constexpr int kFramesPerWindow = 50;
constexpr auto kTick = std::chrono::milliseconds(20);

double Max(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Joined, with the first round's world at the guest.
void StartGame(TNetPlayGames& games) {
    if (!games.problems().empty()) throw std::runtime_error(games.problems());
    if (!games.Join(games.hostPort())) throw std::runtime_error("the guest did not join: " + games.problems());
    for (int tick = 0; tick < 500 && !games.hostSession().GuestReady(); ++tick)
        if (!games.Tick()) throw std::runtime_error("the game ended");
    if (!games.hostSession().GuestReady()) throw std::runtime_error("the first world did not arrive");
}

void PrintLine(const std::string& name, double median, double max, const char* unit, double target) {
    std::printf("%-44s median %9.3f %s  max %9.3f %s  (target <= %g %s)\n", name.c_str(), median, unit, max, unit,
                target, unit);
    std::fflush(stdout);
}

}  // namespace

QW_BENCH_CASE(NetPlayTraffic) {
    TNetPlayGames games({"fight", false, true}, 20240619);
    StartGame(games);
    qw::test::TNetPlayScript script(games, 20240619);
    const int frames = qw::bench::Runs(3000);
    std::vector<double> upKB, downKB, hostMs, guestMs;
    uint64_t upAt = games.guestSession().bytesSent(), downAt = games.hostSession().bytesSent();
    bool windowHadWorld = false;
    int worldWindows = 0;
    auto next = std::chrono::steady_clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        script.BeforeTick();
        const bool wasReady = games.hostSession().GuestReady();
        if (!games.Tick()) throw std::runtime_error("the game ended");
        // Only frames of play: a tick that waits for a world pumps the link.
        if (wasReady && games.hostSession().GuestReady() && !games.guestSession().Receiving()) {
            hostMs.push_back(games.hostGame().networkMsOfLastTick());
            guestMs.push_back(games.guestGame().networkMsOfLastTick());
        } else {
            windowHadWorld = true;
        }
        if ((frame + 1) % kFramesPerWindow == 0) {
            const uint64_t up = games.guestSession().bytesSent(), down = games.hostSession().bytesSent();
            if (windowHadWorld) {
                ++worldWindows;
            } else {
                upKB.push_back(static_cast<double>(up - upAt) / 1000);
                downKB.push_back(static_cast<double>(down - downAt) / 1000);
            }
            upAt = up, downAt = down;
            windowHadWorld = false;
        }
        next += kTick;
        std::this_thread::sleep_until(next);
    }
    std::printf("%d frames of a scripted fight, %d rounds; %zu one-second windows of play, %d more with a world "
                "on its way left out; bytes are ENet's UDP payloads as the sessions count them, 1 KB = 1000 bytes\n",
                frames, games.rounds(), upKB.size(), worldWindows);
    PrintLine("play, guest to host per second", Median(upKB), Max(upKB), "KB/s", kTargetKBPerSecond);
    PrintLine("play, host to guest per second", Median(downKB), Max(downKB), "KB/s", kTargetKBPerSecond);
    PrintLine("network work of a host frame", Median(hostMs), Max(hostMs), "ms", kTargetFrameNetworkMs);
    PrintLine("network work of a guest frame", Median(guestMs), Max(guestMs), "ms", kTargetFrameNetworkMs);
    qw::bench::PrintRatio("network work, host frame over guest frame",
                          Median(hostMs) / std::max(1e-9, Median(guestMs)));
}

QW_BENCH_CASE(NetWorldTransfer) {
    TNetPlayGames games({"search", false, false}, 20240620);
    StartGame(games);
    std::vector<double> seconds, megabytes;
    qw::bench::Samples deflate, inflate;
    const int runs = qw::bench::Runs(7);
    for (int run = 0; run < runs; ++run) {
        games.StartRound();
        const uint32_t round = static_cast<uint32_t>(games.rounds());
        // Each window ticks on its own thread on the game's 20 ms grid, as
        // on two computers: in one thread each side's pump would wait for
        // answers that the other side, not running, cannot give.
        std::atomic<bool> stop{false}, ended{false};
        std::atomic<int64_t> arrivedNs{0};
        std::thread guest([&] {
            auto next = std::chrono::steady_clock::now();
            while (!stop) {
                if (!games.TickGuest()) ended = true;
                if (arrivedNs == 0 && games.guestSession().round() == round && !games.guestSession().Receiving())
                    arrivedNs = std::chrono::steady_clock::now().time_since_epoch().count();
                std::this_thread::sleep_until(next += kTick);
            }
        });
        auto next = std::chrono::steady_clock::now();
        for (int tick = 0; tick < 500 && !ended && !games.hostSession().GuestReady(); ++tick) {
            if (!games.TickHost()) ended = true;
            std::this_thread::sleep_until(next += kTick);
        }
        stop = true;
        guest.join();
        if (ended || arrivedNs == 0) throw std::runtime_error("the world did not arrive");
        const std::chrono::steady_clock::time_point arrived{std::chrono::steady_clock::duration{arrivedNs.load()}};
        seconds.push_back(std::chrono::duration<double>(arrived - games.worldSentAt()).count());
        const uint64_t bytes = games.hostSession().bytesSent() + games.guestSession().bytesSent();
        megabytes.push_back(static_cast<double>(bytes - games.bytesAtWorldSent()) / 1e6);

        // The two parts of it that are no network: compressing on the host, inflating on the guest.
        std::vector<uint8_t> block;
        deflate.Time([&] { block = qw::DeflateGridBytes(games.host().state->level); });
        auto copy = std::make_unique<qw::TLevel>();
        inflate.Time([&] {
            copy->clear();
            qw::InflateGridBytes(block, *copy);
        });
    }
    std::printf("%d generated worlds over the loopback interface, host and guest ticking on two threads\n", runs);
    PrintLine("a new world until the guest has it", Median(seconds), Max(seconds), "s", kTargetWorldSeconds);
    PrintLine("  its bytes both ways, until the host knows", Median(megabytes), Max(megabytes), "MB", kTargetWorldMB);
    qw::bench::PrintFigure("  of it: compressing the grid on the host", deflate.Summary());
    qw::bench::PrintFigure("  and inflating it on the guest", inflate.Summary());
}
