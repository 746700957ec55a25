#pragma once
// The flat overlay drawn over each view: crosshair, status line, screenshot
// notice and material bar during play; the quit menu and the round-end menu
// while the game is paused. Plus what a mouse press does on the menu.
// GL only; the window owns the events and passes sizes and actions in.
#include <functional>
#include <string>
#include <utility>

#include "world/GameState.h"

namespace qw {

// Which round-end texts the menu shows with two players: those of the split
// screen ("Der untere Spieler ..."), or, when each player has a screen of its
// own, the one-player texts seen from the first figure's side.
enum class TRoundEndVoice { SharedScreen, OwnScreen };

// Where the overlay's texts go: the game draws them with the vector font in
// the current colour; tests record them.
using TOverlayText = std::function<void(TGameState& gs, const std::string& text, double size, int x, int y)>;

// Draws the overlay of view 0 (first figure) or view 1 (second figure) with
// that view's viewport current. W and H: the window's client size. Counts
// the screenshot notice down once per call and leaves the colour white.
void DrawOverlay(TGameState& gs, int view, int W, int H, TRoundEndVoice voice = TRoundEndVoice::SharedScreen);
void DrawOverlay(TGameState& gs, int view, int W, int H, const TOverlayText& text,
                 TRoundEndVoice voice = TRoundEndVoice::SharedScreen);

// What the overlay pass of a view that is not drawn still does: the
// screenshot notice counts down, once per pass as in a drawn view.
void UndrawnOverlayPass(TGameState& gs);

// The two lines of the round-end menu for the mode, player count and winner.
std::pair<std::string, std::string> RoundEndTexts(const TGameState& gs,
                                                  TRoundEndVoice voice = TRoundEndVoice::SharedScreen);

// The click areas of the menu, tested in this order. They are narrower than
// the drawn buttons: only the 110 pixels nearest the middle line count.
enum class TMenuArea {
    None,
    Left,   // "Beenden"
    Third,  // "Neues Spiel" under "Beenden"; only the quit menu has it
    Right,  // "Weiter spielen", or "Neues Spiel" of the round-end menu
};
TMenuArea MenuAreaAt(int X, int Y, int W, int H);

struct TMenuActions {
    std::function<void()> terminateApplication;
    std::function<void()> hideCursor;
    // SaveWorld(levelname), only asked for in creative mode. False when the
    // world could not be written (the user has been told).
    std::function<bool()> saveWorld;
    std::function<void()> makeNewGame;
};

// A mouse press at client (X, Y) with any button. Does nothing during play.
// A new round whose save failed is not started: the menu stays open.
void MenuMouseDown(TGameState& gs, int X, int Y, int W, int H, const TMenuActions& actions);
// What a press on the menu's area does (also a press of the other player's
// of a network game, on its own screen).
void MenuAction(TGameState& gs, TMenuArea area, const TMenuActions& actions);

enum class TMouseButton { Left, Right, Other };

// The first player's edit latches (lmousepressed, rmousepressed) around the
// menu. A press that the menu took is marked as seen in its latch and stays
// so when it is let go before the next frame, which counts a tap as held: it
// does not also dig, place or fire once the menu has closed. Letting go of
// any other press clears the latch, so a new press acts at once.
class TMenuPressLatches {
public:
    // Before the menu acts: menuOpen is quitmode at the press.
    void Pressed(TGameState& gs, TMouseButton button, bool menuOpen);
    void Released(TGameState& gs, TMouseButton button);

private:
    bool& Taken(TMouseButton button);
    static bool& Latch(TGameState& gs, TMouseButton button);
    bool leftTaken_ = false, rightTaken_ = false;
};

}  // namespace qw
