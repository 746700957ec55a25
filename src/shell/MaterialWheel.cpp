#include "shell/MaterialWheel.h"

namespace qw {

void MaterialWheelDown(TGameState& state) {
    if (state.quitmode) return;
    state.material += 1;
    if (state.material > HighestMaterial(state.modusformKreativCheckchecked)) state.material = 0;
}

void MaterialWheelUp(TGameState& state) {
    if (state.quitmode) return;
    state.material -= 1;
    if (state.material < 0) state.material = HighestMaterial(state.modusformKreativCheckchecked);
}

}  // namespace qw
