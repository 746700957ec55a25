// The overlay's text: the most text one frame can draw, in play (screenshot
// notice and both lives in a fight) and in the round-end menu (the longest
// pair of lines with both buttons), drawn with GL and, for the share of
// working out the strokes, into a sink that only counts them.
#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchGame.h"
#include "FrameTarget.h"
#include "Harness.h"
#include "assets/TextDraw.h"

namespace {

struct TPlacedText {
    std::string text;
    double size;
    int x, y;
};

class CountingSink final : public qw::LineSink {
public:
    void DrawLine2D(double x1, double y1, double x2, double y2) override {
        ++segments;
        if (float(x1) != float(x2) || float(y1) != float(y2)) ++drawn;
    }
    // As the GL sink: curves may leave out what stays on one point.
    bool SkipsPointSegments() const override { return true; }
    long segments = 0, drawn = 0;
};

}  // namespace

QW_BENCH_CASE(OverlayText) {
    constexpr int kWidth = 1920, kHeight = 1080;
    qw::bench::TFrameTarget target(kWidth, kHeight);
    if (!target.ok()) throw std::runtime_error("no off-screen GL context");
    auto g = std::make_unique<qw::TGameState>();
    qw::bench::LoadGameFont(*g);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    const int cx = kWidth / 2, cy = kHeight / 2;
    const std::vector<TPlacedText> play = {{"Der Screenshot wurde gespeichert.", 40, 0, kHeight - 150},
                                           {"Leben: 10", 20, 0, 0},
                                           {"Leben Gegner: 10", 20, 200, 0}};
    const std::vector<TPlacedText> menu = {{"Der untere Spieler hat den Smaragd gefunden!", 20, cx - 190, cy - 90},
                                           {"Glückwunsch! Du hast diese Runde gewonnen!", 20, cx - 190, cy - 70},
                                           {"Beenden", 20, cx - 150, cy - 15},
                                           {"Neues Spiel", 20, cx + 20, cy - 15}};
    const int runs = qw::bench::Runs(30);
    // The text figures end with a glFinish; this is its size alone.
    qw::bench::Samples finishOnly;
    for (int run = 0; run < runs; ++run) {
        glClear(GL_COLOR_BUFFER_BIT);
        finishOnly.Time([] { glFinish(); });
    }
    qw::bench::PrintFigure("overlay text, glFinish alone", finishOnly.Summary());
    for (const auto& [name, texts] : {std::pair{"play", &play}, std::pair{"round-end menu", &menu}}) {
        qw::bench::Samples gl, strokes;
        CountingSink counted;
        for (int run = 0; run < runs; ++run) {
            glClear(GL_COLOR_BUFFER_BIT);
            glFinish();
            gl.Time([&] {
                for (const TPlacedText& t : *texts) qw::DrawText(*g, t.text, t.size, t.x, t.y);
                glFinish();
            });
            counted = CountingSink{};
            strokes.Time([&] {
                for (const TPlacedText& t : *texts)
                    qw::DrawText(*g, qw::Utf8ToUtf16(t.text), t.size, t.x, t.y, counted);
            });
        }
        qw::bench::PrintFigure(std::string("overlay text, ") + name + ", drawn", gl.Summary());
        qw::bench::PrintFigure(std::string("overlay text, ") + name + ", strokes only", strokes.Summary());
        std::printf("%-44s %ld segments worked out, %ld of them drawn\n",
                    (std::string("overlay text, ") + name).c_str(), counted.segments, counted.drawn);
    }
}
