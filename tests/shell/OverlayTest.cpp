// The overlay's menus: click areas, what the buttons do in each menu state,
// the round-end texts, and what the overlay pass puts on the screen.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "assets/MlfFont.h"
#include "shell/Overlay.h"
#include "sim/EdgeLatch.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

TEST(OverlayMenu, ClickAreasAreTheInnerPartsOfTheButtonsAt1024x768) {
    const auto at = [](int x, int y) { return MenuAreaAt(x, y, 1024, 768); };
    EXPECT_EQ(at(397, 354), TMenuArea::Left);
    EXPECT_EQ(at(507, 414), TMenuArea::Left);
    EXPECT_EQ(at(396, 384), TMenuArea::None);
    EXPECT_EQ(at(508, 384), TMenuArea::None);
    EXPECT_EQ(at(450, 353), TMenuArea::None);
    EXPECT_EQ(at(450, 415), TMenuArea::None);
    EXPECT_EQ(at(360, 384), TMenuArea::None);  // on the drawn "Beenden" button
    EXPECT_EQ(at(397, 424), TMenuArea::Third);
    EXPECT_EQ(at(507, 484), TMenuArea::Third);
    EXPECT_EQ(at(450, 419), TMenuArea::None);  // between the left and the third button
    EXPECT_EQ(at(450, 485), TMenuArea::None);
    EXPECT_EQ(at(517, 354), TMenuArea::Right);
    EXPECT_EQ(at(627, 414), TMenuArea::Right);
    EXPECT_EQ(at(516, 384), TMenuArea::None);
    EXPECT_EQ(at(628, 384), TMenuArea::None);
    EXPECT_EQ(at(660, 384), TMenuArea::None);  // on the drawn right button
    // Odd sizes: the centre is rounded down.
    EXPECT_EQ(MenuAreaAt(396, 353, 1023, 767), TMenuArea::Left);
    EXPECT_EQ(MenuAreaAt(395, 353, 1023, 767), TMenuArea::None);
}

// Records the actions the menu asks for, in order.
struct MenuRecorder {
    std::vector<std::string> calls;
    bool saveSucceeds = true;
    TMenuActions Actions() {
        return {[this] { calls.push_back("terminate"); }, [this] { calls.push_back("hide cursor"); },
                [this] {
                    calls.push_back("save");
                    return saveSucceeds;
                },
                [this] { calls.push_back("new game"); }};
    }
};

using Calls = std::vector<std::string>;

class OverlayMenuState : public ::testing::Test {
protected:
    // Presses at the centre of an area of a 1024 x 768 window.
    void Press(TMenuArea area) {
        const int x = area == TMenuArea::Right ? 572 : area == TMenuArea::None ? 100 : 452;
        const int y = area == TMenuArea::Third ? 454 : 384;
        MenuMouseDown(gs, x, y, 1024, 768, recorder.Actions());
    }
    void QuitMenu() { gs.quitmode = true, gs.emeraldfound = false; }
    void RoundEndMenu() { gs.quitmode = true, gs.emeraldfound = true; }

    TGameState gs;
    MenuRecorder recorder;
};

TEST_F(OverlayMenuState, DuringPlayPressesAreLeftToTheGame) {
    gs.mpoi = {1, 2};
    for (TMenuArea area : {TMenuArea::Left, TMenuArea::Third, TMenuArea::Right}) Press(area);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(gs.mpoi, (TPoint{1, 2}));
    gs.emeraldfound = true;  // round over, menu closed with Esc
    Press(TMenuArea::Right);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(gs.emeraldfound);
}

TEST_F(OverlayMenuState, QuitMenuButtons) {
    QuitMenu();
    Press(TMenuArea::None);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(gs.mpoi, (TPoint{100, 384}));
    EXPECT_TRUE(gs.quitmode);

    Press(TMenuArea::Right);  // continue the same round
    EXPECT_EQ(recorder.calls, (Calls{"hide cursor"}));
    EXPECT_FALSE(gs.quitmode);
    EXPECT_FALSE(gs.emeraldfound);

    QuitMenu();
    recorder.calls.clear();
    Press(TMenuArea::Third);  // new round, nothing saved outside creative mode
    EXPECT_EQ(recorder.calls, (Calls{"hide cursor", "new game"}));
    EXPECT_FALSE(gs.quitmode);

    QuitMenu();
    recorder.calls.clear();
    Press(TMenuArea::Left);
    EXPECT_EQ(recorder.calls, (Calls{"terminate"}));
    EXPECT_FALSE(gs.quitmode);
}

TEST_F(OverlayMenuState, RoundEndMenuButtons) {
    RoundEndMenu();
    Press(TMenuArea::Third);  // no third button in this menu
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(gs.quitmode);
    EXPECT_EQ(gs.mpoi, (TPoint{452, 454}));

    Press(TMenuArea::Right);
    EXPECT_EQ(recorder.calls, (Calls{"hide cursor", "new game"}));
    EXPECT_FALSE(gs.quitmode);
    EXPECT_FALSE(gs.emeraldfound);

    RoundEndMenu();
    recorder.calls.clear();
    Press(TMenuArea::Left);
    EXPECT_EQ(recorder.calls, (Calls{"terminate"}));
    EXPECT_FALSE(gs.quitmode);
    EXPECT_TRUE(gs.emeraldfound);
}

TEST_F(OverlayMenuState, ACreativeWorldIsSavedBeforeANewRound) {
    gs.modusformKreativCheckchecked = true;
    QuitMenu();
    Press(TMenuArea::Third);
    EXPECT_EQ(recorder.calls, (Calls{"save", "hide cursor", "new game"}));

    RoundEndMenu();
    recorder.calls.clear();
    Press(TMenuArea::Right);
    EXPECT_EQ(recorder.calls, (Calls{"save", "hide cursor", "new game"}));

    QuitMenu();
    recorder.calls.clear();
    Press(TMenuArea::Right);  // continuing needs no save
    EXPECT_EQ(recorder.calls, (Calls{"hide cursor"}));
}

TEST_F(OverlayMenuState, AFailedSaveKeepsTheMenuOpenAndTheRound) {
    gs.modusformKreativCheckchecked = true;
    recorder.saveSucceeds = false;
    QuitMenu();
    Press(TMenuArea::Third);
    EXPECT_EQ(recorder.calls, (Calls{"save"}));
    EXPECT_TRUE(gs.quitmode);

    RoundEndMenu();
    recorder.calls.clear();
    Press(TMenuArea::Right);
    EXPECT_EQ(recorder.calls, (Calls{"save"}));
    EXPECT_TRUE(gs.quitmode);
    EXPECT_TRUE(gs.emeraldfound);

    recorder.saveSucceeds = true;  // the next try goes through
    recorder.calls.clear();
    Press(TMenuArea::Right);
    EXPECT_EQ(recorder.calls, (Calls{"save", "hide cursor", "new game"}));
}

// The picking reads a latch through PressedOnce, with a tap between two
// frames counted as held for the next frame.
TEST_F(OverlayMenuState, APressTheMenuTookDoesNotAlsoEditOnceItHasClosed) {
    for (TMouseButton button : {TMouseButton::Left, TMouseButton::Right}) {
        SCOPED_TRACE(button == TMouseButton::Left ? "left" : "right");
        bool& latch = button == TMouseButton::Left ? gs.lmousepressed : gs.rmousepressed;
        TMenuPressLatches latches;
        const auto click = [&](TMenuArea area) {
            latches.Pressed(gs, button, gs.quitmode);
            Press(area);
            latches.Released(gs, button);
        };

        // Tapped on "Weiter spielen" between two frames.
        QuitMenu();
        click(TMenuArea::Right);
        ASSERT_FALSE(gs.quitmode);
        EXPECT_FALSE(PressedOnce(true, latch));   // the next frame: already seen
        EXPECT_FALSE(PressedOnce(false, latch));  // then up
        click(TMenuArea::None);                   // a new press during play
        EXPECT_TRUE(PressedOnce(true, latch));
        EXPECT_FALSE(PressedOnce(false, latch));

        // Held on "Neues Spiel" for some frames, then let go.
        QuitMenu();
        latches.Pressed(gs, button, gs.quitmode);
        Press(TMenuArea::Third);
        EXPECT_FALSE(PressedOnce(true, latch));
        EXPECT_FALSE(PressedOnce(true, latch));
        latches.Released(gs, button);
        EXPECT_FALSE(PressedOnce(true, latch));  // the release's own frame still sees it held
        EXPECT_FALSE(PressedOnce(false, latch));
        click(TMenuArea::None);
        EXPECT_TRUE(PressedOnce(true, latch));

        // A press during play that is let go before the next frame acts in it.
        latch = true;  // held in the frame before
        click(TMenuArea::None);
        EXPECT_TRUE(PressedOnce(true, latch));
    }
}

TEST(OverlayTexts, RoundEndLinesNameTheWinnerForModeAndPlayers) {
    struct Row {
        bool fight, creative, two;
        int32_t winner;
        const char* line1;
        const char* line2;
    };
    const Row rows[] = {
        {true, false, true, 0, "Der untere Spieler hat gewonnen!", "Glückwunsch! Du hast den Gegner besiegt!"},
        {true, false, true, 1, "Der obere Spieler hat gewonnen!", "Glückwunsch! Du hast den Gegner besiegt!"},
        {true, false, false, 0, "Du hast gewonnen!", "Glückwunsch! Du hast den Gegner besiegt!"},
        {true, false, false, 2, "Der Gegner hat gewonnen!", "Du hast diese Runde leider verloren."},
        {false, false, true, 0, "Der untere Spieler hat den Smaragd gefunden!",
         "Glückwunsch! Du hast diese Runde gewonnen!"},
        {false, true, true, 1, "Der obere Spieler hat den Smaragd gefunden!",
         "Glückwunsch! Du hast diese Runde gewonnen!"},
        {false, true, false, 0, "Du hast den Smaragd gefunden!", "Glückwunsch! Du hast diese Runde gewonnen!"},
        {false, false, false, -1, "Der Gegner hat den Smaragd gefunden!", "Du hast diese Runde leider verloren."},
    };
    for (const Row& row : rows) {
        TGameState gs;
        gs.modusformFightCheckchecked = row.fight;
        gs.modusformKreativCheckchecked = row.creative;
        gs.multiplayer = row.two;
        gs.playerwin = row.winner;
        const auto [line1, line2] = RoundEndTexts(gs);
        EXPECT_EQ(line1, row.line1);
        EXPECT_EQ(line2, row.line2);
    }
}

// The overlay drawn into a 1024 x 768 off-screen window.
class OverlayPicture : public ::testing::Test {
protected:
    static constexpr int W = 1024, H = 768;

    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
        gs = std::make_unique<TGameState>();
        gs->leben = gs->gleben = 10;
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
    }

    // A 3D picture stand-in: the window cleared to blue, then the view's
    // viewport (view 1 the upper half in two-player mode).
    void Background(int view = 0, bool split = false) {
        glViewport(0, 0, W, H);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (split) glViewport(0, view == 1 ? H / 2 : 0, W, H / 2);
        glColor3f(1, 1, 1);
    }

    // RGB of the pixel (x, y) counted from the top-left corner.
    std::array<int, 3> At(int x, int y) {
        const auto& px = context.Pixels();
        const std::size_t i = (std::size_t(H - 1 - y) * W + std::size_t(x)) * 4;
        return {px[i], px[i + 1], px[i + 2]};
    }
    static std::array<int, 3> Grey(int v) { return {v, v, v}; }

    test::OsMesaContext context{W, H};
    std::unique_ptr<TGameState> gs;
    const std::array<int, 3> kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kBlue{0, 0, 255};
};

TEST_F(OverlayPicture, QuitMenuPanelAndButtons) {
    gs->quitmode = true;
    Background();
    DrawOverlay(*gs, 0, W, H);
    EXPECT_EQ(At(201, 300), kBlue);
    EXPECT_EQ(At(203, 300), kBlack);  // panel border from (202, 274)
    EXPECT_EQ(At(820, 512), kBlack);
    EXPECT_EQ(At(823, 300), kBlue);
    EXPECT_EQ(At(250, 300), Grey(128));
    EXPECT_EQ(At(349, 384), kBlack);  // left button border
    EXPECT_EQ(At(355, 362), Grey(178));
    EXPECT_EQ(At(670, 362), Grey(178));
    EXPECT_EQ(At(355, 430), Grey(178));  // third button
    EXPECT_EQ(At(349, 430), kBlack);

    // The round-end menu has no third button; its panel shows there.
    gs->emeraldfound = true;
    Background();
    DrawOverlay(*gs, 0, W, H);
    EXPECT_EQ(At(355, 430), Grey(128));
    EXPECT_EQ(At(355, 362), Grey(178));
}

TEST_F(OverlayPicture, TheMenuCoversTheWholeWindowFromEitherHalf) {
    gs->quitmode = true;
    gs->multiplayer = true;
    Background(1, true);
    DrawOverlay(*gs, 1, W, H);
    EXPECT_EQ(At(250, 500), Grey(128));  // lower half, though view 1 is the upper one
    EXPECT_EQ(At(250, 300), Grey(128));
}

TEST_F(OverlayPicture, PlayOverlayCrosshairAndMaterialBar) {
    gs->material = 3;
    Background();
    DrawOverlay(*gs, 0, W, H);
    EXPECT_EQ(At(512, 384), kWhite);
    EXPECT_EQ(At(503, 384), kWhite);
    EXPECT_EQ(At(501, 384), kBlack);  // black edge from cx - 11
    EXPECT_EQ(At(512, 373), kBlack);
    EXPECT_EQ(At(499, 384), kBlue);
    EXPECT_EQ(At(514, 380), kBlue);

    // Nine frames from left = 242, 60 apart; the selected one red.
    const int left = (W - 60 * 9) / 2;
    for (int i = 0; i < 9; ++i) EXPECT_EQ(At(left + 60 * i - 5, H - 30), i == 3 ? kRed : kBlack) << i;
    EXPECT_EQ(At(left + 60 * 8 + 55, H - 30), kBlack);  // the last frame's right edge shows
    EXPECT_EQ(At(left - 11, H - 30), kBlue);
    EXPECT_EQ(At(left + 20, H - 30), kWhite);  // icon without an image

    // Creative mode: eight slots, the second figure's selection in view 1.
    gs->modusformKreativCheckchecked = true;
    gs->gmaterial = 7;
    Background();
    DrawOverlay(*gs, 1, W, H);
    const int left8 = (W - 60 * 8) / 2;
    EXPECT_EQ(At(left8 + 60 * 7 - 5, H - 30), kRed);
    EXPECT_EQ(At(left8 - 11, H - 30), kBlue);
    EXPECT_EQ(At(left8 + 60 * 7 + 55, H - 30), kRed);  // nothing overlaps the last frame
    EXPECT_EQ(At(left8 + 60 * 8 + 5, H - 30), kBlue);
}

TEST_F(OverlayPicture, LivesBarsFollowModeAndView) {
    gs->modusformFightCheckchecked = true;
    gs->leben = 10;
    gs->gleben = 5;
    Background();
    DrawOverlay(*gs, 0, W, H);
    EXPECT_EQ(At(48, 35), kRed);  // (10, 30) to (50, 40)
    EXPECT_EQ(At(51, 35), kBlue);
    EXPECT_EQ(At(228, 35), kRed);  // the opponent's (210, 30) to (230, 40)
    EXPECT_EQ(At(231, 35), kBlue);

    gs->multiplayer = true;
    Background();
    DrawOverlay(*gs, 1, W, H);
    EXPECT_EQ(At(28, 35), kRed);  // view 1 shows the second figure's lives only
    EXPECT_EQ(At(31, 35), kBlue);
    EXPECT_EQ(At(228, 35), kBlue);
}

TEST_F(OverlayPicture, ScreenshotNoticeCountsOncePerPassAndRestoresTheState) {
    gs->screenshot = 10;
    Background();
    DrawOverlay(*gs, 0, W, H);
    DrawOverlay(*gs, 1, W, H);
    EXPECT_EQ(gs->screenshot, 8);
    gs->quitmode = true;
    DrawOverlay(*gs, 0, W, H);
    EXPECT_EQ(gs->screenshot, 8);  // the menu does not count it down

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

// Every text the overlay asks to draw: its words, size and place.
struct TDrawnText {
    std::string text;
    double size;
    int x, y;
    bool operator==(const TDrawnText&) const = default;
};
void PrintTo(const TDrawnText& t, std::ostream* os) { *os << '"' << t.text << "\" " << t.size << " at " << t.x << "," << t.y; }
using Texts = std::vector<TDrawnText>;

Texts TextsOf(TGameState& gs, int view, int W, int H) {
    Texts texts;
    DrawOverlay(gs, view, W, H, [&](TGameState&, const std::string& text, double size, int x, int y) {
        texts.push_back({text, size, x, y});
    });
    return texts;
}

TEST_F(OverlayPicture, StatusLinesAndTheScreenshotNotice) {
    gs->modusformFightCheckchecked = true;
    gs->leben = 10;
    gs->gleben = 5;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{"Leben: 10", 20, 0, 0}, {"Leben Gegner: 5", 20, 200, 0}}));
    gs->multiplayer = true;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{"Leben: 10", 20, 0, 0}}));
    EXPECT_EQ(TextsOf(*gs, 1, W, H), (Texts{{"Leben: 5", 20, 0, 0}}));
    gs->leben = -2;  // lives may go below 0
    EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{"Leben: -2", 20, 0, 0}}));

    gs->modusformFightCheckchecked = false;
    gs->multiplayer = false;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), Texts{});  // no distance before the first explosion
    gs->showdist = true;
    for (const auto& [distance, shown] : {std::pair{42.5, "42"}, {43.5, "44"}, {42.49, "42"}, {0.5, "0"}}) {
        gs->lastdist = distance;
        EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{std::string("Distanz zum Smaragd: ") + shown, 20, 0, 0}})) << distance;
    }
    EXPECT_EQ(TextsOf(*gs, 1, W, H), Texts{});
    gs->gshowdist = true;
    gs->glastdist = 7.5;
    EXPECT_EQ(TextsOf(*gs, 1, W, H), (Texts{{"Distanz zum Smaragd: 8", 20, 0, 0}}));
    gs->modusformKreativCheckchecked = true;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), Texts{});

    gs->screenshot = 1;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{"Der Screenshot wurde gespeichert.", 40, 0, H - 150}}));
    EXPECT_EQ(TextsOf(*gs, 0, W, H), Texts{});
}

TEST_F(OverlayPicture, MenuLabels) {
    const int cx = W / 2, cy = H / 2;
    gs->quitmode = true;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{"Willst du das Spiel beenden?", 20, cx - 190, cy - 90},
                                            {"Beenden", 20, cx - 150, cy - 15},
                                            {"Weiter spielen", 20, cx + 20, cy - 15},
                                            {"Neues Spiel", 20, cx - 150, cy + 55}}));
    gs->emeraldfound = true;
    gs->modusformFightCheckchecked = true;
    EXPECT_EQ(TextsOf(*gs, 0, W, H), (Texts{{"Du hast gewonnen!", 20, cx - 190, cy - 90},
                                            {"Glückwunsch! Du hast den Gegner besiegt!", 20, cx - 190, cy - 70},
                                            {"Beenden", 20, cx - 150, cy - 15},
                                            {"Neues Spiel", 20, cx + 20, cy - 15}}));
}

// With the game's font: the pictures are written for looking at, and white
// text must appear where each text starts.
TEST_F(OverlayPicture, GermanTextsWithTheGameFont) {
    const std::string font = QUADERWELT_DATA_DIR "/Arial.mlf";
    if (!std::filesystem::exists(font)) GTEST_SKIP() << "no " << font;
    OpenMLFontFile(*gs, font, [](const std::string& m) { FAIL() << m; });
    const auto whiteIn = [&](int x1, int y1, int x2, int y2) {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) n += At(x, y) == kWhite;
        return n;
    };
    const std::string out = ::testing::TempDir();

    gs->modusformFightCheckchecked = true;
    gs->screenshot = 1;
    Background();
    DrawOverlay(*gs, 0, W, H);
    context.SavePng((out + "overlay-fight.png").c_str());
    EXPECT_GT(whiteIn(0, 0, 90, 30), 30);      // "Leben: 10"
    EXPECT_GT(whiteIn(200, 0, 340, 30), 30);   // "Leben Gegner: 10"
    EXPECT_GT(whiteIn(0, H - 150, 600, H - 80), 100);  // the notice at size 40

    gs->modusformFightCheckchecked = false;
    gs->showdist = true;
    gs->lastdist = 42.5;
    Background();
    DrawOverlay(*gs, 0, W, H);
    context.SavePng((out + "overlay-search.png").c_str());
    EXPECT_GT(whiteIn(0, 0, 300, 30), 50);  // "Distanz zum Smaragd: 42"

    gs->quitmode = true;
    Background();
    DrawOverlay(*gs, 0, W, H);
    context.SavePng((out + "overlay-quit-menu.png").c_str());
    EXPECT_GT(whiteIn(322, 294, 600, 320), 50);  // "Willst du das Spiel beenden?"
    EXPECT_GT(whiteIn(362, 369, 450, 400), 20);  // "Beenden"
    EXPECT_GT(whiteIn(532, 369, 650, 400), 20);  // "Weiter spielen"
    EXPECT_GT(whiteIn(362, 439, 480, 470), 20);  // "Neues Spiel"

    gs->emeraldfound = true;
    gs->multiplayer = true;
    gs->playerwin = 1;
    Background();
    DrawOverlay(*gs, 0, W, H);
    context.SavePng((out + "overlay-round-end.png").c_str());
    EXPECT_GT(whiteIn(322, 294, 700, 340), 100);  // both lines
    EXPECT_EQ(whiteIn(362, 439, 480, 470), 0);     // no third button
}

}  // namespace
}  // namespace qw
