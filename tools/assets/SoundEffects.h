#pragma once
// The game's short sounds.
#include "Synth.h"

namespace qw::tools {

Samples MakeFigureHit();   // troffen: a dull punch with a falling "oof"
Samples MakeBlockHit();    // btroffen: a bright knock on something hard
Samples MakeLaunch();      // launch: a rising whoosh
Samples MakeWinJingle();   // bing: four rising bell notes
Samples MakeExplosion();   // bomb: a blast and a long rumble

}  // namespace qw::tools
