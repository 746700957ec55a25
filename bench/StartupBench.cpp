// FormCreate's work on a fresh context each run: texture names, the twelve
// block textures, both default skins, block lists and the font; besides it
// the game state record (its grid is allocated and zeroed) and the context.
#include <GL/gl.h>

#include <memory>
#include <stdexcept>

#include "BenchGame.h"
#include "Harness.h"
#include "support/OsMesaContext.h"

QW_BENCH_CASE(FormCreate) {
    qw::bench::Samples contextMs, recordMs, resourcesMs;
    const int runs = qw::bench::Runs(9);
    for (int run = 0; run < runs; ++run) {
        std::unique_ptr<qw::test::OsMesaContext> context;
        contextMs.Time([&] { context = std::make_unique<qw::test::OsMesaContext>(1920, 1080); });
        if (!context->ok()) throw std::runtime_error("no OSMesa context");
        std::unique_ptr<qw::TGameState> g;
        recordMs.Time([&] { g = std::make_unique<qw::TGameState>(); });
        resourcesMs.Time([&] {
            qw::bench::CreateGameResources(*g);
            glFinish();
        });
    }
    qw::bench::PrintFigure("FormCreate: textures, skins, lists, font", resourcesMs.Summary());
    qw::bench::PrintFigure("FormCreate: game state record", recordMs.Summary());
    qw::bench::PrintFigure("off-screen GL context (the game's is GLX)", contextMs.Summary());
}
