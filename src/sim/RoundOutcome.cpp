#include "sim/RoundOutcome.h"

namespace qw {

void EndRound(TGameState& state, GameServices& services, int32_t finder) {
    state.playerwin = finder;
    state.emeraldfound = true;
    state.quitmode = true;
    // The cursor goes to the upper centre, over the round-end menu's text.
    const TWindowGeometry g = services.WindowGeometry();
    services.SetCursorPos(g.left + g.width / 2, g.top + g.height / 4);
    services.ShowCursor(true);
    services.SoundCommand("play gewonnen from 0");
}

}  // namespace qw
