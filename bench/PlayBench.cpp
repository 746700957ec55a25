// Play as the game does, fast path only: the frames of a scripted player in
// a two-player fight at 1920 x 1080, then the peak resident memory. Only in a
// process of its own is that the memory of play (without the windows); the
// MemoryWhilePlaying case runs it so.
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "BenchGame.h"
#include "FrameTarget.h"
#include "Harness.h"
#include "render/FastWorld.h"
#include "render/GLState.h"
#include "shell/GameFrame.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr const char* kPeakLabel = "peak resident memory of this process";

}  // namespace

// Its own function, so that instruction counters can be limited to frames.
[[gnu::noinline]] void PlayOneFrame(qw::TGameState& g, qw::GameServices& services, const qw::TFrameHooks& hooks) {
    qw::GameFrame(g, services, kWidth, kHeight, hooks);
    glFinish();
}

QW_BENCH_CASE(PlayFast) {
    qw::bench::TFrameTarget target(kWidth, kHeight);
    if (!target.ok()) throw std::runtime_error("no off-screen GL context");
    auto g = std::make_unique<qw::TGameState>();
    qw::bench::CreateGameResources(*g);
    qw::GameRandom rng(20240601);
    qw::bench::StartRound(*g, rng, qw::bench::TPlayMode::Fight, true);
    qw::InitGLState(*g, kWidth, kHeight);
    qw::bench::TScriptedPlayer player(kWidth, kHeight, 7);
    qw::TFastWorld world;
    qw::TFrameHooks hooks;
    hooks.cells = [&](int view) { world.DrawCells(*g, view); };
    qw::bench::Samples frameMs;
    // Thirty seconds of play at 50 frames a second.
    const int frames = qw::bench::Runs(1500);
    // The first frames compile the renderer's shaders and fill the caches;
    // they are played outside PlayOneFrame so counters can leave them out.
    for (int frame = 0; frame < 10; ++frame) {
        player.BeforeFrame();
        qw::GameFrame(*g, player.services(), kWidth, kHeight, hooks);
        glFinish();
    }
    for (int frame = 0; frame < frames; ++frame) {
        player.BeforeFrame();
        frameMs.Time([&] { PlayOneFrame(*g, player.services(), hooks); });
    }
    qw::bench::PrintFigure("frame 1920x1080, 2 views, fight, playing", frameMs.Summary());
    std::printf("%-44s %9.1f MB\n", kPeakLabel, qw::bench::PeakResidentMegabytes());
    world.ReleaseGL();
}

QW_BENCH_CASE(MemoryWhilePlaying) {
    // A fresh process, so nothing another case allocated counts.
    // popen runs a shell, whose /proc/self/exe would be the shell itself.
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) throw std::runtime_error("cannot find myself");
    const std::string command = std::string("'") + self + "' --runs 500 PlayFast";
    std::FILE* child = popen(command.c_str(), "r");
    if (!child) throw std::runtime_error("cannot start " + command);
    char line[512];
    bool found = false;
    while (std::fgets(line, sizeof line, child)) {
        const std::string text = line;
        if (text.rfind(kPeakLabel, 0) == 0) {
            std::printf("%-44s %s", "peak resident memory while playing", text.substr(44).c_str());
            found = true;
        }
    }
    if (pclose(child) != 0 || !found) throw std::runtime_error("the play process failed");
}
