#include "shell/MaterialWheel.h"

#include "sim/MaterialChoice.h"

namespace qw {

void MaterialWheelDown(TGameState& state) {
    if (state.quitmode) return;
    state.material = StepMaterial(state.material, +1, TopMaterial(state));
}

void MaterialWheelUp(TGameState& state) {
    if (state.quitmode) return;
    state.material = StepMaterial(state.material, -1, TopMaterial(state));
}

}  // namespace qw
