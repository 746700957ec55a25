#include "shell/Overlay.h"

#include <GL/gl.h>

#include "assets/TextDraw.h"
#include "render/GLState.h"
#include "shell/ScreenTextPass.h"
#include "world/Grid.h"

namespace qw {
namespace {

constexpr double kTextSize = 20;
constexpr double kNoticeSize = 40;

struct TColour {
    float r, g, b;
};
constexpr TColour kBlack{0, 0, 0};
constexpr TColour kWhite{1, 1, 1};
constexpr TColour kGrey{0.5f, 0.5f, 0.5f};
constexpr TColour kLightGrey{0.7f, 0.7f, 0.7f};
constexpr TColour kRed{1, 0, 0};

void SetColour(TColour c) { glColor3f(c.r, c.g, c.b); }

// A filled rectangle: a box with both depths 0. Inside glBegin(GL_QUADS).
void Rect(TColour c, int x1, int y1, int x2, int y2) {
    SetColour(c);
    DrawTexBox(float(x1), float(y1), 0, float(x2), float(y2), 0, 1.0f);
}

bool FightMode(const TGameState& gs) { return gs.modusformFightCheckchecked; }

void DrawMenu(TGameState& gs, int W, int H, const TOverlayText& text, TRoundEndVoice voice) {
    const int cx = W / 2, cy = H / 2;
    glViewport(0, 0, W, H);
    glBegin(GL_QUADS);
    Rect(kBlack, cx - 310, cy - 110, cx + 310, cy + 130);
    Rect(kGrey, cx - 300, cy - 100, cx + 300, cy + 120);
    Rect(kBlack, cx - 165, cy - 30, cx - 5, cy + 30);
    Rect(kBlack, cx + 5, cy - 30, cx + 165, cy + 30);
    Rect(kLightGrey, cx - 160, cy - 25, cx - 10, cy + 25);
    Rect(kLightGrey, cx + 10, cy - 25, cx + 160, cy + 25);
    glEnd();
    SetColour(kWhite);
    if (gs.emeraldfound) {
        const auto [line1, line2] = RoundEndTexts(gs, voice);
        text(gs, line1, kTextSize, cx - 190, cy - 90);
        text(gs, line2, kTextSize, cx - 190, cy - 70);
        text(gs, "Beenden", kTextSize, cx - 150, cy - 15);
        text(gs, "Neues Spiel", kTextSize, cx + 20, cy - 15);
        return;
    }
    text(gs, "Willst du das Spiel beenden?", kTextSize, cx - 190, cy - 90);
    text(gs, "Beenden", kTextSize, cx - 150, cy - 15);
    text(gs, "Weiter spielen", kTextSize, cx + 20, cy - 15);
    glBegin(GL_QUADS);
    Rect(kBlack, cx - 165, cy + 40, cx - 5, cy + 100);
    Rect(kLightGrey, cx - 160, cy + 45, cx - 10, cy + 95);
    glEnd();
    SetColour(kWhite);
    text(gs, "Neues Spiel", kTextSize, cx - 150, cy + 55);
}

void DrawCrosshair(int cx, int cy) {
    glBegin(GL_QUADS);
    Rect(kBlack, cx - 11, cy - 2, cx + 11, cy + 2);
    Rect(kBlack, cx - 2, cy + 11, cx + 2, cy - 11);
    Rect(kWhite, cx - 10, cy - 1, cx + 10, cy + 1);
    Rect(kWhite, cx - 1, cy + 10, cx + 1, cy - 10);
    glEnd();
}

void DrawFightStatus(TGameState& gs, int view, const TOverlayText& text) {
    const bool bothInOneView = view == 0 && !gs.multiplayer;
    const int32_t lives = view == 0 ? gs.leben : gs.gleben;
    text(gs, "Leben: " + std::to_string(lives), kTextSize, 0, 0);
    if (bothInOneView) text(gs, "Leben Gegner: " + std::to_string(gs.gleben), kTextSize, 200, 0);
    glBegin(GL_QUADS);
    Rect(kRed, 10, 30, 10 + 4 * lives, 40);
    if (bothInOneView) Rect(kRed, 210, 30, 210 + 4 * gs.gleben, 40);
    glEnd();
}

void DrawSearchStatus(TGameState& gs, int view, const TOverlayText& text) {
    const bool shown = view == 0 ? gs.showdist : gs.gshowdist;
    if (!shown) return;
    const double distance = view == 0 ? gs.lastdist : gs.glastdist;
    text(gs, "Distanz zum Smaragd: " + std::to_string(RoundHalfEven(distance)), kTextSize, 0, 0);
}

// Each frame is 70 pixels wide but the slots are 60 apart, so a frame's
// right edge lies under the next frame.
void DrawMaterialBar(const TGameState& gs, int view, int W, int H) {
    glEnable(GL_TEXTURE_2D);
    const int slots = gs.modusformKreativCheckchecked ? 8 : 9;
    const int left = (W - 60 * slots) / 2;
    const int32_t selected = view == 0 ? gs.material : gs.gmaterial;
    for (int i = 0; i < slots; ++i) {
        const int x = left + 60 * i;
        glBindTexture(GL_TEXTURE_2D, 0);
        glBegin(GL_QUADS);
        Rect(i == selected ? kRed : kBlack, x - 10, H - 60, x + 60, H);
        glEnd();
        glBindTexture(GL_TEXTURE_2D, gs.texName[std::size_t(i)]);
        glBegin(GL_QUADS);
        Rect(kWhite, x, H - 50, x + 40, H - 10);
        glEnd();
    }
}

void DrawPlayOverlay(TGameState& gs, int view, int W, int H, const TOverlayText& text) {
    DrawCrosshair(W / 2, H / 2);
    if (gs.screenshot > 0) text(gs, "Der Screenshot wurde gespeichert.", kNoticeSize, 0, H - 150);
    UndrawnOverlayPass(gs);
    if (FightMode(gs)) {
        DrawFightStatus(gs, view, text);
    } else if (!gs.modusformKreativCheckchecked) {
        DrawSearchStatus(gs, view, text);
    }
    DrawMaterialBar(gs, view, W, H);
}

}  // namespace

void UndrawnOverlayPass(TGameState& gs) {
    if (!gs.quitmode && gs.screenshot > 0) --gs.screenshot;
}

void DrawOverlay(TGameState& gs, int view, int W, int H, TRoundEndVoice voice) {
    DrawOverlay(
        gs, view, W, H,
        [](TGameState& g, const std::string& s, double size, int x, int y) { DrawText(g, s, size, x, y); }, voice);
}

void DrawOverlay(TGameState& gs, int view, int W, int H, const TOverlayText& text, TRoundEndVoice voice) {
    TScreenTextPass pass(W, H);
    // No depth clear here: with the depth test off the overlay writes no
    // depth, and a later view only tests depth in its own half, which no
    // other view touches. Clearing it cost a pass over the whole buffer.

    if (gs.quitmode) {
        DrawMenu(gs, W, H, text, voice);
    } else {
        DrawPlayOverlay(gs, view, W, H, text);
    }

    // No glFlush: the buffer swap after the last view flushes, and a flush
    // between the views only made the renderer stop and wait for its
    // threads once more per view.
}

std::pair<std::string, std::string> RoundEndTexts(const TGameState& gs, TRoundEndVoice voice) {
    const bool firstWon = gs.playerwin == 0;
    const bool sharedScreen = gs.multiplayer && voice == TRoundEndVoice::SharedScreen;
    if (FightMode(gs)) {
        if (sharedScreen)
            return {firstWon ? "Der untere Spieler hat gewonnen!" : "Der obere Spieler hat gewonnen!",
                    "Glückwunsch! Du hast den Gegner besiegt!"};
        if (firstWon) return {"Du hast gewonnen!", "Glückwunsch! Du hast den Gegner besiegt!"};
        return {"Der Gegner hat gewonnen!", "Du hast diese Runde leider verloren."};
    }
    if (sharedScreen)
        return {firstWon ? "Der untere Spieler hat den Smaragd gefunden!"
                         : "Der obere Spieler hat den Smaragd gefunden!",
                "Glückwunsch! Du hast diese Runde gewonnen!"};
    if (firstWon) return {"Du hast den Smaragd gefunden!", "Glückwunsch! Du hast diese Runde gewonnen!"};
    return {"Der Gegner hat den Smaragd gefunden!", "Du hast diese Runde leider verloren."};
}

TMenuArea MenuAreaAt(int X, int Y, int W, int H) {
    const int cx = W / 2, cy = H / 2;
    const auto inside = [&](int x1, int x2, int y1, int y2) { return X >= x1 && X <= x2 && Y >= y1 && Y <= y2; };
    if (inside(cx - 115, cx - 5, cy - 30, cy + 30)) return TMenuArea::Left;
    if (inside(cx - 115, cx - 5, cy + 40, cy + 100)) return TMenuArea::Third;
    if (inside(cx + 5, cx + 115, cy - 30, cy + 30)) return TMenuArea::Right;
    return TMenuArea::None;
}

void MenuMouseDown(TGameState& gs, int X, int Y, int W, int H, const TMenuActions& actions) {
    if (!gs.quitmode) return;
    gs.mpoi = {X, Y};
    MenuAction(gs, MenuAreaAt(X, Y, W, H), actions);
}

void MenuAction(TGameState& gs, TMenuArea area, const TMenuActions& actions) {
    if (!gs.quitmode) return;
    // The world is saved before anything changes, so a failed save leaves the
    // menu open with the world still in memory.
    const auto saveBeforeNewRound = [&] { return !gs.modusformKreativCheckchecked || actions.saveWorld(); };
    switch (area) {
        case TMenuArea::Left:
            gs.quitmode = false;
            actions.terminateApplication();
            break;
        case TMenuArea::Third:
            if (gs.emeraldfound || !saveBeforeNewRound()) break;
            gs.quitmode = false;
            actions.hideCursor();
            actions.makeNewGame();
            break;
        case TMenuArea::Right:
            if (gs.emeraldfound && !saveBeforeNewRound()) break;
            gs.quitmode = false;
            actions.hideCursor();
            if (gs.emeraldfound) {
                gs.emeraldfound = false;
                actions.makeNewGame();
            }
            break;
        case TMenuArea::None:
            break;
    }
}

void TMenuPressLatches::Pressed(TGameState& gs, TMouseButton button, bool menuOpen) {
    if (button == TMouseButton::Other) return;
    Taken(button) = menuOpen;
    if (menuOpen) Latch(gs, button) = true;
}

void TMenuPressLatches::Released(TGameState& gs, TMouseButton button) {
    if (button == TMouseButton::Other) return;
    // The latch of a press the menu took follows the button again from the
    // next frame on, when the picking finds it up.
    if (!Taken(button)) Latch(gs, button) = false;
    Taken(button) = false;
}

bool& TMenuPressLatches::Taken(TMouseButton button) { return button == TMouseButton::Left ? leftTaken_ : rightTaken_; }

bool& TMenuPressLatches::Latch(TGameState& gs, TMouseButton button) {
    return button == TMouseButton::Left ? gs.lmousepressed : gs.rmousepressed;
}

}  // namespace qw
