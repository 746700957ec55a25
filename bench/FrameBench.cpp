// Whole frames of play as the game window runs them (update, 3D pass with
// figures and missiles, overlay), on a seeded generated world, drawn with the
// fast world path and with the reference path in turn. Two copies of the
// round are played by the same script, one per path, so both paths draw the
// same frames and see the same machine load.
#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchGame.h"
#include "FrameTarget.h"
#include "Harness.h"
#include "render/FastWorld.h"
#include "render/GLState.h"
#include "render/ReferenceWorld.h"
#include "render/Views.h"
#include "shell/GameFrame.h"

namespace {

using qw::bench::TPlayMode;

// Frames played before measuring, so missiles fly, the opponent has moved
// and the status line shows.
constexpr int kWarmUpFrames = 40;

struct TRound {
    std::unique_ptr<qw::TGameState> state = std::make_unique<qw::TGameState>();
    std::unique_ptr<qw::bench::TScriptedPlayer> player;
    qw::TFastWorld fast;
};

void PlayFrame(TRound& round, int width, int height, bool referencePath) {
    qw::TGameState& g = *round.state;
    round.player->BeforeFrame();
    qw::TFrameHooks hooks;
    if (referencePath)
        hooks.cells = [&g](int view) { qw::DrawCellsReference(g, view); };
    else
        hooks.cells = [&](int view) { round.fast.DrawCells(g, view); };
    qw::GameFrame(g, round.player->services(), width, height, hooks);
    glFinish();  // what the buffer swap waits for
}

// The least a frame that fills the screen costs on this renderer: the sky
// clear and one block-textured quad over the whole screen, drawn the way the
// world's faces are (depth test, no blending, texels replace the colour),
// the texture repeating every 64 pixels.
void DrawFillFloor(const qw::TGameState& g, int width, int height) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, width, height);
    qw::ClearToSky();
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, g.texName[0]);
    const float s = width / 64.0f, t = height / 64.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(s, 0);
    glVertex2i(width, 0);
    glTexCoord2f(s, t);
    glVertex2i(width, height);
    glTexCoord2f(0, t);
    glVertex2i(0, height);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glFinish();
}

const char* ModeName(TPlayMode mode) { return mode == TPlayMode::Fight ? "fight" : "search"; }

}  // namespace

QW_BENCH_CASE(Frame) {
    qw::bench::TFrameTarget target(1920, 1080);
    if (!target.ok()) throw std::runtime_error("no off-screen GL context");
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // Both rounds share the context and so the textures, lists and font.
    TRound fastRound, referenceRound;
    qw::bench::CreateGameResources(*fastRound.state);
    {
        qw::TGameState& copy = *referenceRound.state;
        const qw::TGameState& made = *fastRound.state;
        copy.ProgPath = made.ProgPath;
        copy.texName = made.texName;
        copy.listIndex = made.listIndex;
        qw::bench::LoadGameFont(copy);
    }

    // The machines are shared: enough runs for a median that holds still.
    const int runs = qw::bench::Runs(21);
    const std::pair<int, int> sizes[] = {{1280, 720}, {1920, 1080}};
    struct TVariant {
        TPlayMode mode;
        int views;
        bool menu;
    };
    const TVariant variants[] = {{TPlayMode::Search, 1, false}, {TPlayMode::Fight, 1, false},
                                 {TPlayMode::Search, 2, false}, {TPlayMode::Fight, 2, false},
                                 {TPlayMode::Search, 1, true}};
    for (const auto& [width, height] : sizes) {
        target.Resize(width, height);
        for (const TVariant& v : variants) {
            if (v.menu && width != 1920) continue;
            for (TRound* round : {&fastRound, &referenceRound}) {
                qw::GameRandom rng(20240601);
                qw::bench::StartRound(*round->state, rng, v.mode, v.views == 2);
                round->player = std::make_unique<qw::bench::TScriptedPlayer>(width, height, 7);
                qw::InitGLState(*round->state, width, height);
                // Both copies warm up on the fast path: the same frames, quickly.
                for (int frame = 0; frame < kWarmUpFrames; ++frame) PlayFrame(*round, width, height, false);
                round->state->quitmode = v.menu;
            }
            qw::bench::Samples fastMs, referenceMs, floorMs;
            for (int run = 0; run < runs; ++run) {
                referenceMs.Time([&] { PlayFrame(referenceRound, width, height, true); });
                fastMs.Time([&] { PlayFrame(fastRound, width, height, false); });
                floorMs.Time([&] { DrawFillFloor(*fastRound.state, width, height); });
            }
            const std::string label = std::to_string(width) + "x" + std::to_string(height) + ", " +
                                      std::to_string(v.views) + (v.views == 1 ? " view, " : " views, ") +
                                      ModeName(v.mode) + (v.menu ? ", menu" : "");
            const qw::bench::Figure fastFigure = fastMs.Summary();
            const qw::bench::Figure referenceFigure = referenceMs.Summary();
            qw::bench::PrintFigure("frame " + label + ": fast", fastFigure);
            qw::bench::PrintFigure("frame " + label + ": reference", referenceFigure);
            qw::bench::PrintRatio("frame " + label + ": reference / fast", referenceFigure.median / fastFigure.median);
            const qw::bench::Figure floorFigure = floorMs.Summary();
            qw::bench::PrintFigure("frame " + label + ": fill floor", floorFigure);
            qw::bench::PrintRatio("frame " + label + ": fast / fill floor", fastFigure.median / floorFigure.median);
        }
    }
    fastRound.fast.ReleaseGL();
    referenceRound.fast.ReleaseGL();
}
