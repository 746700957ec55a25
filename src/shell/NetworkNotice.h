#pragma once
// The picture of a network game while it cannot be played for a moment: a
// round's world is on its way to the guest. Sky and one line of text in the
// window's middle. GL only.
#include <string>

#include "world/GameState.h"

namespace qw {

void DrawNetworkNotice(TGameState& gs, const std::string& text, int W, int H);

// "Die Welt wird übertragen … 42 %"
std::string TransferNotice(double share);

}  // namespace qw
