#include "sim/FrameUpdate.h"

#include "sim/EdgeLatch.h"
#include "sim/Joyst.h"
#include "sim/MaterialChoice.h"
#include "sim/Movement.h"
#include "sim/RemoteControls.h"

namespace qw {

namespace {

constexpr double kWalkStep = 0.1;
constexpr double kPitchLimit = 90.0;
constexpr int64_t kMusicSettleMs = 1000;
constexpr int32_t kScreenshotNoticeFrames = 10;

bool Held(GameServices& services, int key) { return services.KeyHeld(static_cast<VirtualKey>(key)); }

double ClampPitch(double pitch) {
    if (pitch > kPitchLimit) return kPitchLimit;
    if (pitch < -kPitchLimit) return -kPitchLimit;
    return pitch;
}

void WrapPositions(TGameState& s) {
    for (double* c : {&s.posx, &s.posy, &s.posz, &s.gposx, &s.gposy, &s.gposz}) *c = WrapPosition(*c);
}

// Player 2: keyboard, or the joystick when its last poll succeeded.
void PlayerTwoControls(TGameState& s, GameServices& services, const TFigure& fig) {
    JoystickPoll(s.joy1, services);
    const joystick& joy = s.joy1;
    const bool pad = joy.ok;
    const bool enter = Held(services, VK_RETURN);
    const bool throttle = pad && joy.ltpressed;
    const bool fast = throttle || enter;

    if (Held(services, VK_UP) || (pad && joy.top)) WalkStep(s, services, fig, false, fast, +kWalkStep);
    if (Held(services, VK_DOWN) || (pad && joy.bottom)) WalkStep(s, services, fig, false, fast, -kWalkStep);
    if (Held(services, VK_LEFT) || (pad && joy.left)) WalkStep(s, services, fig, true, fast, -kWalkStep);
    if (Held(services, VK_RIGHT) || (pad && joy.right)) WalkStep(s, services, fig, true, fast, +kWalkStep);

    const double turn = enter ? 8.0 : 4.0;
    if (Held(services, VK_NUMPAD4) || (pad && joy.left2)) s.gangle -= turn;
    if (Held(services, VK_NUMPAD6) || (pad && joy.right2)) s.gangle += turn;
    if (Held(services, VK_NUMPAD8) || (pad && joy.bottom2)) {
        s.gangle2 = ClampPitch(s.gangle2 - (throttle ? 8.0 : turn));
    }
    if (Held(services, VK_NUMPAD5) || Held(services, VK_NUMPAD2) || (pad && joy.top2)) {
        s.gangle2 = ClampPitch(s.gangle2 + turn);
    }

    const int32_t top = TopMaterial(s);
    if (PressedOnce(Held(services, VK_NUMPAD7) || (pad && joy.but[4]), s.matldown)) {
        s.gmaterial = StepMaterial(s.gmaterial, -1, top);
    }
    if (PressedOnce(Held(services, VK_NUMPAD9) || (pad && joy.but[5]), s.matrdown)) {
        s.gmaterial = StepMaterial(s.gmaterial, +1, top);
    }
}

void UpdateSecondFigure(TGameState& s, GameServices& services, const UpdateHooks& hooks) {
    const TFigure fig = SecondFigure(s);
    const bool opponent = !s.multiplayer && !s.modusformKreativCheckchecked;
    if (opponent && hooks.opponentController) hooks.opponentController(s, services);
    if (s.multiplayer) {
        if (hooks.remote) {
            ApplyRemoteControls(s, services, fig, *hooks.remote);
        } else {
            PlayerTwoControls(s, services, fig);
        }
    }

    KnockBackStep(s, services, fig);
    if (!JumpGravityStep(s, services, fig)) return;
    if (s.multiplayer) {
        const bool jump = hooks.remote ? hooks.remote->jump : Held(services, VK_NUMPAD0) || (s.joy1.ok && s.joy1.but[2]);
        if (jump) StartJump(fig);
    } else if (opponent) {
        // The opponent hops now and then while it walks to a target, and all
        // the time in a fight.
        if (services.Random(20) == 0 && (s.gegnermodus == 6 || s.modusformFightCheckchecked)) {
            StartJump(fig);
        }
    }
}

// Restarts the background music when its status text changes, i.e. when the
// track has ended. The status one second after each start is the reference.
void MusicCheck(TGameState& s, GameServices& services) {
    if (s.setstatus) {
        if (services.TickCount() >= s.statustime + kMusicSettleMs) {
            services.SoundCommand("status musik mode", &s.mbuf);
            s.mold = s.mbuf;
            s.setstatus = false;
        }
        return;
    }
    services.SoundCommand("status musik mode", &s.mbuf);
    if (s.mbuf != s.mold) {
        services.SoundCommand("play musik from 0");
        s.setstatus = true;
        s.statustime = services.TickCount();
    }
}

void FunctionKeys(TGameState& s, GameServices& services, const UpdateHooks& hooks) {
    if (PressedOnce(Held(services, VK_F5), s.f5down)) {
        if (++s.viewmode >= 3) s.viewmode = 0;
    }
    int toggles = PressedOnce(Held(services, VK_ESCAPE), s.escdown) ? 1 : 0;
    // The remote player's Esc presses since the last frame count as well.
    if (s.multiplayer && hooks.remote) toggles += hooks.remote->escapePresses;
    for (int i = 0; i < toggles; ++i) {
        s.quitmode = !s.quitmode;
        services.ShowCursor(s.quitmode);
    }
    // Closed from the other computer: this player's pointer is wherever the
    // menu left it, so this frame's look only centres it.
    const bool closedRemotely = s.multiplayer && hooks.remote && hooks.remote->escapePresses > 0;
    if (toggles > 0 && !s.quitmode && closedRemotely) s.first = false;
    if (PressedOnce(Held(services, VK_F2), s.f2pressed) && hooks.takeScreenshot) {
        hooks.takeScreenshot();
        s.screenshot = kScreenshotNoticeFrames;
    }
}

// The cursor is put back to the window centre each frame, so its offset
// from there is the mouse movement since the last frame.
void MouseLook(TGameState& s, GameServices& services) {
    const TPoint cursor = services.CursorPos();
    if (services.WindowHasFocus() && !s.quitmode) {
        const TWindowGeometry g = services.WindowGeometry();
        const int cx = g.left + g.width / 2;
        const int cy = g.top + g.height / 2;
        if (s.first) {
            s.angle += (cursor.x - cx) / 10.0;
            s.angle2 = ClampPitch(s.angle2 + (cursor.y - cy) / 10.0);
        }
        services.SetCursorPos(cx, cy);
    }
    s.first = true;
}

void UpdateFirstFigure(TGameState& s, GameServices& services) {
    unsigned digitsHeld = 0;
    for (int digit = 1; digit <= 9; ++digit)
        if (Held(services, '0' + digit)) digitsHeld |= 1u << (digit - 1);
    s.material = MaterialFromDigits(s.material, digitsHeld, s.modusformKreativCheckchecked);

    const TFigure fig = FirstFigure(s);
    const bool fast = Held(services, VK_CONTROL);
    if (Held(services, 'W')) WalkStep(s, services, fig, false, fast, +kWalkStep);
    if (Held(services, 'S')) WalkStep(s, services, fig, false, fast, -kWalkStep);
    if (Held(services, 'A')) WalkStep(s, services, fig, true, fast, -kWalkStep);
    if (Held(services, 'D')) WalkStep(s, services, fig, true, fast, +kWalkStep);

    KnockBackStep(s, services, fig);
    if (JumpGravityStep(s, services, fig) && Held(services, VK_SPACE)) StartJump(fig);
}

}  // namespace

bool ViewerUpdatePhase(TGameState& s, GameServices& services, const UpdateHooks& hooks) {
    MusicCheck(s, services);
    if (PressedOnce(Held(services, VK_F5), s.f5down)) {
        if (++s.viewmode >= 3) s.viewmode = 0;
    }
    const bool escape = PressedOnce(Held(services, VK_ESCAPE), s.escdown);
    if (PressedOnce(Held(services, VK_F2), s.f2pressed) && hooks.takeScreenshot) {
        hooks.takeScreenshot();
        s.screenshot = kScreenshotNoticeFrames;
    }
    MouseLook(s, services);
    return escape;
}

void UpdatePhase(TGameState& s, GameServices& services, const UpdateHooks& hooks) {
    WrapPositions(s);
    s.splaufe = false;
    s.gelaufe = false;
    if (!s.quitmode) UpdateSecondFigure(s, services, hooks);
    MusicCheck(s, services);
    FunctionKeys(s, services, hooks);
    MouseLook(s, services);
    if (!s.quitmode) UpdateFirstFigure(s, services);
}

}  // namespace qw
