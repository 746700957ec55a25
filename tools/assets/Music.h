#pragma once
// The background music: 32 bars over Am - F - C - G, whose last bar leads
// back into the first so the piece loops without a seam.
#include "Synth.h"

namespace qw::tools {

Samples MakeMusic();

}  // namespace qw::tools
