#include "sim/RemoteControls.h"

#include "sim/MaterialChoice.h"

namespace qw {

namespace {
constexpr double kWalkStep = 0.1;
constexpr int kRemoteView = 1;
}  // namespace

void ApplyRemoteControls(TGameState& s, GameServices& services, const TFigure& fig, const TRemoteInput& in) {
    s.gangle = in.heading;
    s.gangle2 = in.pitch;
    s.gmaterial = MaterialFromDigits(s.gmaterial, in.digitsHeld, s.modusformKreativCheckchecked);
    const int direction = in.wheelSteps > 0 ? +1 : -1;
    for (int i = 0; i < (in.wheelSteps > 0 ? in.wheelSteps : -in.wheelSteps); ++i)
        s.gmaterial = StepMaterial(s.gmaterial, direction, TopMaterial(s));
    if (in.forward) WalkStep(s, services, fig, false, in.fast, +kWalkStep);
    if (in.backward) WalkStep(s, services, fig, false, in.fast, -kWalkStep);
    if (in.strafeLeft) WalkStep(s, services, fig, true, in.fast, -kWalkStep);
    if (in.strafeRight) WalkStep(s, services, fig, true, in.fast, +kWalkStep);
}

void ApplyRemoteEdits(TGameState& s, GameServices& services, const TRemoteInput& in, const EditHooks& hooks) {
    // The presses were latched on the remote computer; the latches here
    // only follow its buttons.
    s.grmousepressed = in.placeHeld;
    s.glmousepressed = in.removeHeld;
    for (const TRemoteEdit& edit : in.edits) {
        if (edit.place) {
            PlaceBlock(s, services, kRemoteView, edit.ray);
        } else {
            RemoveBlockOrFire(s, services, kRemoteView, edit.ray, hooks);
        }
    }
}

}  // namespace qw
