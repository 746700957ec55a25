// A new world ready to play: NewGame with a generated world, then the rest of
// the round set-up. The plain generator runs on the same seeds in between, so
// both figures see the same machine load.
#include <cstdint>
#include <memory>

#include "Harness.h"
#include "world/GameState.h"
#include "world/Random.h"
#include "world/ReferenceWorldGenerator.h"
#include "world/RoundSetup.h"

namespace {

void PlainNewWorld(qw::TGameState& state, qw::RandomSource& rng) {
    qw::NewGame(state, false, rng);
    qw::test::GenerateWorldReference(state.level, rng);
    qw::FinishRoundSetup(state, rng);
}

}  // namespace

QW_BENCH_CASE(NewWorld) {
    auto state = std::make_unique<qw::TGameState>();
    qw::bench::Samples fast;
    qw::bench::Samples plain;
    const int runs = qw::bench::Runs(7);
    for (int run = 0; run < runs; ++run) {
        const uint64_t seed = 1000 + static_cast<uint64_t>(run);
        fast.Time([&] {
            qw::GameRandom rng(seed);
            qw::NewGame(*state, true, rng);
            qw::FinishRoundSetup(*state, rng);
        });
        plain.Time([&] {
            qw::GameRandom rng(seed);
            PlainNewWorld(*state, rng);
        });
    }
    qw::bench::Figure fastFigure = fast.Summary();
    qw::bench::Figure plainFigure = plain.Summary();
    qw::bench::PrintFigure("new world ready (game)", fastFigure);
    qw::bench::PrintFigure("new world ready (plain generator)", plainFigure);
    qw::bench::PrintRatio("plain / game (medians)", plainFigure.median / fastFigure.median);
}
