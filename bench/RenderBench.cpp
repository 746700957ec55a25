// The world drawing on Mesa's software renderer: a seeded generated world
// with the game's own block textures, drawn by the plain cell loop and by the
// fast path in turn, from the start position and from a hill top, at two
// window sizes, with one and with two views.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "FrameTarget.h"
#include "Harness.h"
#include "assets/TextureLoader.h"
#include "render/FastWorld.h"
#include "render/GLState.h"
#include "render/ReferenceWorld.h"
#include "render/Views.h"
#include "world/GameState.h"
#include "world/Random.h"
#include "world/RoundSetup.h"

namespace {

using qw::TGameState;

// World y of the top of the highest block in column (x, z), in cells.
int TopOf(const TGameState& g, int x, int z) {
    for (int y = qw::kGridMax; y >= qw::kGridMin; --y)
        if (g.level.at(x, y, z) != 0) return y;
    return qw::kGridMin - 1;
}

void StandOn(TGameState& g, bool second, int x, int z, double heading, double pitch) {
    const double feet = 4.0 * (TopOf(g, x, z) + 1);
    const double wx = 4.0 * x + 2, wz = 4.0 * z + 2;
    if (second) {
        g.gposx = -wx, g.gposy = -feet, g.gposz = -wz, g.gangle = heading, g.gangle2 = pitch;
    } else {
        g.posx = -wx, g.posy = -feet, g.posz = -wz, g.angle = heading, g.angle2 = pitch;
    }
}

// The highest column within reach of the middle of the world.
std::pair<int, int> HillTop(const TGameState& g) {
    std::pair<int, int> best{0, 0};
    for (int x = -60; x <= 60; ++x)
        for (int z = -60; z <= 60; ++z)
            if (TopOf(g, x, z) > TopOf(g, best.first, best.second)) best = {x, z};
    return best;
}

struct Scene {
    const char* name;
    bool hill;
};

void DrawFrame(TGameState& g, int width, int height, const std::function<void(int)>& cells) {
    qw::TViewSteps steps;
    steps.cells = cells;
    qw::DrawViews(g, width, height, steps);
    glFinish();
}

}  // namespace

QW_BENCH_CASE(RenderWorld) {
    qw::bench::TFrameTarget target(1280, 720);
    if (!target.ok()) throw std::runtime_error("no off-screen GL context");
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    auto g = std::make_unique<TGameState>();
    glGenTextures(static_cast<GLsizei>(g->texName.size()), g->texName.data());
    qw::LoadBlockTextures(QUADERWELT_DATA_DIR "/", g->texName);
    qw::BuildBlockLists(*g);
    qw::GameRandom rng(20240601);
    qw::NewGame(*g, true, rng);
    qw::FinishRoundSetup(*g, rng);

    qw::TFastWorld fast;
    // The machines are shared: enough runs for a median that holds still.
    const int runs = qw::bench::Runs(21);
    const Scene scenes[] = {{"start", false}, {"hill top", true}};
    const std::pair<int, int> sizes[] = {{1280, 720}, {1920, 1080}};
    const auto hill = HillTop(*g);
    for (const auto& [width, height] : sizes) {
        target.Resize(width, height);
        // What every frame pays before any block: the sky clear.
        qw::bench::Samples emptyMs;
        for (int run = 0; run < runs; ++run) emptyMs.Time([&] { DrawFrame(*g, width, height, nullptr); });
        qw::bench::PrintFigure(std::to_string(width) + "x" + std::to_string(height) + ", sky only", emptyMs.Summary());
        for (int views = 1; views <= 2; ++views) {
            g->multiplayer = views == 2;
            qw::InitGLState(*g, width, height);
            for (const Scene& scene : scenes) {
                if (scene.hill) {
                    StandOn(*g, false, hill.first, hill.second, 45, 10);
                    StandOn(*g, true, hill.first + 3, hill.second - 2, 250, 5);
                } else {
                    StandOn(*g, false, 0, 0, 0, 0);
                    StandOn(*g, true, 0, 5, 180, 0);
                }
                const auto reference = [&](int view) { qw::DrawCellsReference(*g, view); };
                const auto cached = [&](int view) { fast.DrawCells(*g, view); };
                DrawFrame(*g, width, height, reference);
                DrawFrame(*g, width, height, cached);
                qw::bench::Samples plainMs, fastMs, walkingMs;
                for (int run = 0; run < runs; ++run) {
                    plainMs.Time([&] { DrawFrame(*g, width, height, reference); });
                    fastMs.Time([&] { DrawFrame(*g, width, height, cached); });
                }
                // Walking half a unit a frame: the window moves under the cache.
                const double startX = g->posx, startZ = g->posz;
                for (int step = 0; step < 2 * runs; ++step) {
                    g->posx = startX - 0.5 * step * std::sin(g->angle * 3.14159265358979 / 180.0);
                    g->posz = startZ + 0.5 * step * std::cos(g->angle * 3.14159265358979 / 180.0);
                    walkingMs.Time([&] { DrawFrame(*g, width, height, cached); });
                }
                g->posx = startX, g->posz = startZ;
                const std::string label = std::to_string(width) + "x" + std::to_string(height) + ", " +
                                          std::to_string(views) + (views == 1 ? " view, " : " views, ") + scene.name;
                const qw::bench::Figure plainFigure = plainMs.Summary();
                const qw::bench::Figure fastFigure = fastMs.Summary();
                qw::bench::PrintFigure(label + ": reference", plainFigure);
                qw::bench::PrintFigure(label + ": fast", fastFigure);
                qw::bench::PrintFigure(label + ": fast, walking", walkingMs.Summary());
                qw::bench::PrintRatio(label + ": reference / fast", plainFigure.median / fastFigure.median);
            }
        }
    }
    fast.ReleaseGL();
}
