#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "SimWorld.h"
#include "sim/Joyst.h"

namespace qw {
namespace {

using FrameUpdate = test::SimWorld;

TEST_F(FrameUpdate, PositionsWrapIntoTheWorld) {
    s.level.clear();  // nothing to stand on: only the wrap is looked at
    s.jump = s.gjump = 100;  // rising, so gravity leaves posy alone this frame
    s.posx = -400;
    s.posy = 0;  // the rise moves it by -1
    s.posz = 401;
    s.gposx = 1210;
    s.gposy = 0;
    s.gposz = -404;
    Frame();
    EXPECT_EQ(s.posx, -400);
    EXPECT_EQ(s.posz, -403);
    EXPECT_EQ(s.gposx, -398);
    EXPECT_EQ(s.gposz, 400);
    s.posx = -400.5;  // up by 804, then down again
    s.posz = 400;
    s.gposx = 1e300;  // must not spin the frame
    s.gposz = -3.5e12;
    Frame();
    EXPECT_EQ(s.posx, -400.5);
    EXPECT_EQ(s.posz, 400);
    EXPECT_GT(s.gposx, -404);
    EXPECT_LE(s.gposx, 400);
    EXPECT_GT(s.gposz, -404);
    EXPECT_LE(s.gposz, 400);
}

TEST_F(FrameUpdate, HeldFunctionKeysActOncePerPress) {
    Hold(VK_F5);
    Frame(5);
    EXPECT_EQ(s.viewmode, 1);
    Release(VK_F5);
    Frame();
    Hold(VK_F5);
    Frame();
    Release(VK_F5);
    Frame();
    Hold(VK_F5);
    Frame(3);
    EXPECT_EQ(s.viewmode, 0);  // 1, 2, back to 0

    int shots = 0;
    hooks.takeScreenshot = [&] { ++shots; };
    Hold(VK_F2);
    Frame(4);
    EXPECT_EQ(shots, 1);
    EXPECT_EQ(s.screenshot, 10);
}

TEST_F(FrameUpdate, EscapeTogglesPauseAndCursor) {
    svc.cursorVisible = false;
    Hold(VK_ESCAPE);
    Frame(3);
    EXPECT_TRUE(s.quitmode);
    EXPECT_TRUE(svc.cursorVisible);
    Release(VK_ESCAPE);
    Frame();
    Hold(VK_ESCAPE);
    Frame();
    EXPECT_FALSE(s.quitmode);
    EXPECT_FALSE(svc.cursorVisible);
}

TEST_F(FrameUpdate, FailedScreenshotEndsTheFrameWithoutNotice) {
    Floor();
    Place(FirstFigure(s), 2, kStandY, 2);
    hooks.takeScreenshot = [] { throw std::runtime_error("disk full"); };
    Hold(VK_F2);
    Hold('W');
    EXPECT_THROW(Frame(), std::runtime_error);
    EXPECT_EQ(s.screenshot, 0);
    EXPECT_FALSE(s.first);          // mouse look did not run
    EXPECT_DOUBLE_EQ(s.posz, -2);   // nor player 1's walk
    Frame();                        // the next frame is a normal one
    EXPECT_TRUE(s.first);
    EXPECT_NEAR(s.posz, -2 + 1.1, 1e-9);
}

TEST_F(FrameUpdate, DigitKeysChooseTheMaterial) {
    Hold('1');
    Hold('5');
    Frame();
    EXPECT_EQ(s.material, 4);  // the last key tested wins
    Release('1');
    Release('5');
    Hold('9');
    Frame();
    EXPECT_EQ(s.material, 8);
    s.material = 3;
    s.modusformKreativCheckchecked = true;
    Frame();
    EXPECT_EQ(s.material, 3);  // no weapon in the creative mode
    Hold('8');
    Frame();
    EXPECT_EQ(s.material, 7);
}

TEST_F(FrameUpdate, MouseLookTurnsByTheOffsetFromTheCentre) {
    svc.geometry = {100, 50, 1025, 769, 1025, 769};  // centre (612, 434): div truncates
    svc.cursor = {700, 500};
    Frame();  // the first frame only centres the cursor
    EXPECT_EQ(s.angle, 0);
    EXPECT_EQ(s.angle2, 0);
    EXPECT_EQ(svc.cursor, (TPoint{612, 434}));
    EXPECT_TRUE(s.first);

    svc.cursor = {625, 429};
    Frame();
    EXPECT_DOUBLE_EQ(s.angle, 1.3);
    EXPECT_DOUBLE_EQ(s.angle2, -0.5);
    EXPECT_EQ(svc.cursor, (TPoint{612, 434}));

    svc.cursor = {612, 434 + 2000};
    Frame();
    EXPECT_EQ(s.angle2, 90);
    svc.cursor = {612, 434 - 5000};
    Frame();
    EXPECT_EQ(s.angle2, -90);

    // Without the focus: no turn and the cursor is left where it is.
    svc.focus = false;
    svc.cursor = {0, 0};
    svc.cursorMoves.clear();
    Frame();
    EXPECT_DOUBLE_EQ(s.angle, 1.3);
    EXPECT_TRUE(svc.cursorMoves.empty());
}

TEST_F(FrameUpdate, AMenuTheOtherComputerClosesTurnsNobody) {
    svc.geometry = {0, 0, 800, 600, 800, 600};  // centre (400, 300)
    s.multiplayer = true;
    Frame();
    TRemoteInput remote;
    remote.escapePresses = 1;
    hooks.remote = &remote;
    Frame();  // the guest's Esc opens the menu
    ASSERT_TRUE(s.quitmode);
    svc.cursor = {600, 150};  // meanwhile this player moved the mouse
    Frame();  // and its Esc closes it again
    EXPECT_FALSE(s.quitmode);
    EXPECT_EQ(s.angle, 0);
    EXPECT_EQ(s.angle2, 0);
    EXPECT_EQ(svc.cursor, (TPoint{400, 300}));
    remote.escapePresses = 0;
    svc.cursor = {410, 300};
    Frame();  // from then on the mouse turns as ever
    EXPECT_DOUBLE_EQ(s.angle, 1);

    // This player's own Esc closing the menu is as in a game on one computer.
    Hold(VK_ESCAPE);
    Frame();
    ASSERT_TRUE(s.quitmode);
    Release(VK_ESCAPE);
    Frame();
    svc.cursor = {420, 300};
    Hold(VK_ESCAPE);
    Frame();
    EXPECT_FALSE(s.quitmode);
    EXPECT_DOUBLE_EQ(s.angle, 3);  // 1 + the 20 pixels it was moved
}

TEST_F(FrameUpdate, PauseSkipsFiguresAndMouseLookOnly) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    int opponentFrames = 0;
    hooks.opponentController = [&](TGameState&, GameServices&) { ++opponentFrames; };
    int shots = 0;
    hooks.takeScreenshot = [&] { ++shots; };
    Frame();
    ASSERT_EQ(opponentFrames, 1);

    s.quitmode = true;
    s.splaufe = s.gelaufe = true;
    s.posx = 1000;  // still wrapped while paused
    s.gjump = 5;
    svc.cursor = {5, 5};
    svc.cursorMoves.clear();
    svc.statusReply = "stopped";
    for (int key : {int('W'), int('3'), int(VK_SPACE), int(VK_F5), int(VK_F2)}) Hold(key);
    Frame();
    EXPECT_EQ(opponentFrames, 1);
    EXPECT_EQ(s.gjump, 5);               // second figure untouched
    EXPECT_EQ(s.posx, 1000 - 804);       // wrapped, not walked
    EXPECT_FALSE(s.splaufe);             // walking flags cleared
    EXPECT_FALSE(s.gelaufe);
    EXPECT_EQ(s.material, 0);            // digits ignored
    EXPECT_EQ(s.jump, 0);
    EXPECT_TRUE(svc.cursorMoves.empty());  // no mouse look
    EXPECT_EQ(s.viewmode, 1);            // F5 still works
    EXPECT_EQ(shots, 1);                 // and F2
    EXPECT_EQ(svc.soundCommands.back(), "play musik from 0");  // and the music check
}

TEST_F(FrameUpdate, MusicRestartsWhenItsStatusChanges) {
    s.setstatus = true;
    s.statustime = 5'000'000'000;  // beyond 32 bits
    svc.ticks = 5'000'000'999;
    Frame();
    EXPECT_TRUE(svc.soundCommands.empty());
    svc.ticks = 5'000'001'000;
    svc.statusReply = "playing 2";
    Frame();
    EXPECT_EQ(svc.soundCommands, (std::vector<std::string>{"status musik mode"}));
    EXPECT_EQ(s.mold, "playing 2");
    EXPECT_FALSE(s.setstatus);

    svc.soundCommands.clear();
    Frame(3);
    EXPECT_EQ(svc.soundCommands.size(), 3u);  // status only, the track plays on
    svc.statusReply = "stopped";
    svc.ticks = 6'000'000'000;
    svc.soundCommands.clear();
    Frame();
    EXPECT_EQ(svc.soundCommands, (std::vector<std::string>{"status musik mode", "play musik from 0"}));
    EXPECT_TRUE(s.setstatus);
    EXPECT_EQ(s.statustime, 6'000'000'000);
}

TEST_F(FrameUpdate, WalkingKeysCombineInOneFrame) {
    Floor();
    const TFigure me = FirstFigure(s);
    Place(me, 2, kStandY, 2);
    Hold('W');
    Hold('D');
    Frame();
    EXPECT_NEAR(WorldZ(me), 2 - 1.1, 1e-9);
    EXPECT_NEAR(WorldX(me), 2 + 1.1, 1e-9);
    EXPECT_EQ(s.sparmlinksrot, 30);  // two walk calls, two swings
    Hold(VK_CONTROL);
    Release('D');
    Frame();
    EXPECT_NEAR(WorldZ(me), 2 - 1.1 - 2.2, 1e-9);
}

TEST_F(FrameUpdate, SecondFigureMovesBeforeTheFirst) {
    // Both figures fall onto an emerald in the same frame: the second one
    // finds it first, and the pause keeps player 1 from moving at all.
    s.multiplayer = true;
    const TFigure me = FirstFigure(s);
    const TFigure other = SecondFigure(s);
    Place(me, 2, 2.5, 2);
    Place(other, 42, 2.5, 2);
    s.level.at(0, 0, 0) = kEmerald;
    s.level.at(10, 0, 0) = kEmerald;
    Frame();
    EXPECT_TRUE(s.emeraldfound);
    EXPECT_EQ(s.playerwin, 1);
    EXPECT_EQ(WorldY(me), 2.5);
}

TEST_F(FrameUpdate, PlayerTwoKeysAndJoystick) {
    s.multiplayer = true;
    const TFigure other = SecondFigure(s);
    Place(other, 2, 40, 2);
    s.level.clear();
    Hold(VK_UP);
    Hold(VK_NUMPAD4);
    Hold(VK_NUMPAD8);
    Frame();
    EXPECT_NEAR(WorldZ(other), 2 - 1.1, 1e-9);  // walked before turning
    EXPECT_EQ(s.gangle, -4);
    EXPECT_EQ(s.gangle2, -4);
    Hold(VK_RETURN);
    Frame(30);
    EXPECT_EQ(s.gangle, -4 - 30 * 8);
    EXPECT_EQ(s.gangle2, -90);
    svc.keysHeld.clear();

    // Material keys once per press, wrapping at the mode's top.
    s.gmaterial = 0;
    Hold(VK_NUMPAD7);
    Frame(3);
    EXPECT_EQ(s.gmaterial, 8);
    Release(VK_NUMPAD7);
    Hold(VK_NUMPAD9);
    Frame(3);
    EXPECT_EQ(s.gmaterial, 0);
    svc.keysHeld.clear();

    // A joystick pushed right strafes; its throttle makes it fast.
    svc.joystickPresent = true;
    svc.joyCaps.xmax = svc.joyCaps.ymax = svc.joyCaps.zmax = svc.joyCaps.rmax = svc.joyCaps.umax = 65535;
    svc.joyInfo = {65535, 32768, 65535, 32768, 32768, 0};
    JoystickInit(s.joy1, 0, svc);
    s.gangle = 0;
    const double x0 = WorldX(other);
    Frame();
    EXPECT_NEAR(WorldX(other), x0 + 2.2, 1e-9);
    // A failed poll: the stick counts for nothing, and the throttle it
    // still remembers does not make the keys fast either.
    svc.joystickPollFails = true;
    Frame();
    EXPECT_NEAR(WorldX(other), x0 + 2.2, 1e-9);
    ASSERT_TRUE(s.joy1.ltpressed);
    Hold(VK_RIGHT);
    Frame();
    EXPECT_NEAR(WorldX(other), x0 + 2.2 + 1.1, 1e-9);
}

TEST_F(FrameUpdate, SinglePlayerIgnoresPlayerTwoControls) {
    svc.joystickPresent = true;
    svc.joyCaps.xmax = 65535;
    svc.joyInfo = {0, 0, 0, 0, 0, 0};
    JoystickInit(s.joy1, 0, svc);
    const TFigure other = SecondFigure(s);
    const double z0 = WorldZ(other);
    Hold(VK_UP);
    Hold(VK_NUMPAD6);
    Frame();
    EXPECT_EQ(WorldZ(other), z0);
    EXPECT_EQ(s.gangle, 0);
    EXPECT_FALSE(s.joy1.left);  // never polled
}

TEST_F(FrameUpdate, SecondFigureJumps) {
    // Player 2 jumps with numpad 0 when standing.
    s.multiplayer = true;
    Hold(VK_NUMPAD0);
    Frame();
    EXPECT_EQ(s.gjump, 8);
    svc.keysHeld.clear();

    // The opponent hops only on a zero draw, and only while walking to a target.
    s.multiplayer = false;
    s.gjump = 0;
    Frame(20);  // land again
    s.gegnermodus = 3;
    svc.scriptedRandom = {0};
    Frame();
    EXPECT_EQ(s.gjump, 0);
    EXPECT_TRUE(svc.scriptedRandom.empty());  // drawn all the same
    s.gegnermodus = 6;
    svc.scriptedRandom = {1, 0};
    Frame();
    EXPECT_EQ(s.gjump, 0);
    Frame();
    EXPECT_EQ(s.gjump, 8);

    // In a fight it hops on a zero draw whatever its search state.
    s.gjump = 0;
    Frame(20);
    s.modusformFightCheckchecked = true;
    s.gegnermodus = 0;
    svc.randomRanges.clear();
    svc.scriptedRandom = {3};
    Frame();
    EXPECT_EQ(s.gjump, 0);
    svc.scriptedRandom = {0};
    Frame();
    EXPECT_EQ(s.gjump, 8);
    EXPECT_EQ(svc.randomRanges, (std::vector<int>{20, 20}));  // one chance in 20 a standing frame
    s.modusformFightCheckchecked = false;

    // No opponent in the creative mode: no draw, no controller.
    s.gjump = 0;
    s.gegnermodus = 0;
    Frame(20);
    s.modusformKreativCheckchecked = true;
    int calls = 0;
    hooks.opponentController = [&](TGameState&, GameServices&) { ++calls; };
    svc.scriptedRandom = {0};
    Frame();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(svc.scriptedRandom.size(), 1u);
    EXPECT_EQ(s.gjump, 0);
}

}  // namespace
}  // namespace qw
