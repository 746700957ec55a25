// Where a fast frame's time goes: the steps of the game's frame one by one,
// each followed by glFinish so the renderer's share lands on its own step.
// The finishes cost time of their own, so the parts add up to more than a
// frame; this is for finding the big parts, not for the budget.
#include <GL/gl.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchGame.h"
#include "FrameTarget.h"
#include "Harness.h"
#include "render/FastWorld.h"
#include "render/Figures.h"
#include "render/GLState.h"
#include "render/MissileView.h"
#include "render/Picking.h"
#include "render/Views.h"
#include "shell/Overlay.h"
#include "sim/FrameUpdate.h"
#include "sim/Missiles.h"
#include "sim/Opponent.h"
#include "sim/Sighting.h"

QW_BENCH_CASE(FrameParts) {
    constexpr int kWidth = 1920, kHeight = 1080;
    qw::bench::TFrameTarget target(kWidth, kHeight);
    if (!target.ok()) throw std::runtime_error("no off-screen GL context");
    for (const bool twoViews : {false, true}) {
        auto g = std::make_unique<qw::TGameState>();
        qw::bench::CreateGameResources(*g);
        qw::GameRandom rng(20240601);
        qw::bench::StartRound(*g, rng, qw::bench::TPlayMode::Search, twoViews);
        qw::InitGLState(*g, kWidth, kHeight);
        qw::bench::TScriptedPlayer player(kWidth, kHeight, 7);
        qw::GameServices& services = player.services();
        qw::TFastWorld world;

        std::vector<std::string> order;
        std::map<std::string, qw::bench::Samples> parts;
        const auto timed = [&](const std::string& name, const std::function<void()>& step) {
            if (!parts.count(name)) order.push_back(name);
            parts[name].Time([&] {
                step();
                glFinish();
            });
        };
        const auto wrap = [&](const std::string& name, std::function<void(int)> step) {
            return [=, &timed](int view) { timed(name, [&] { step(view); }); };
        };
        qw::UpdateHooks updateHooks;
        updateHooks.opponentController = qw::OpponentController;
        qw::EditHooks editHooks;
        editHooks.launchMissile = qw::PlayerLaunch;
        std::array<std::optional<qw::TWorldPoint>, 2> nearPoints;
        qw::TViewSteps steps;
        steps.nearPoint = wrap("near point", [&](int view) { nearPoints[size_t(view)] = qw::ViewNearPoint(); });
        steps.cells = wrap("cells", [&](int view) { world.DrawCells(*g, view); });
        steps.pickAndEdit = wrap("pick and edit", [&](int view) {
            qw::PickAndEdit(*g, services, view, nearPoints[size_t(view)], editHooks);
        });
        steps.missiles = wrap("missiles", [&](int view) { qw::DrawMissiles(*g, services, view); });
        steps.figures = wrap("figures", [&](int view) { qw::DrawFigures(*g, view); });
        steps.sighting = wrap("sighting", [&](int) { qw::OpponentSighting(*g, services); });
        steps.overlay = wrap("overlay", [&](int view) { qw::DrawOverlay(*g, view, kWidth, kHeight); });

        const int frames = qw::bench::Runs(60);
        for (int frame = 0; frame < frames; ++frame) {
            player.BeforeFrame();
            timed("update", [&] { qw::UpdatePhase(*g, services, updateHooks); });
            timed("sky clear (ahead of the views)", [] { qw::ClearToSky(); });
            // DrawViews clears again; that second clear lands on the first step.
            qw::DrawViews(*g, kWidth, kHeight, steps);
        }
        const std::string label = twoViews ? "parts 1920x1080, 2 views, search: " : "parts 1920x1080, 1 view, search: ";
        for (const std::string& name : order) qw::bench::PrintFigure(label + name, parts[name].Summary());
        world.ReleaseGL();
    }
}
