#include "render/MissileView.h"

#include "render/Views.h"
#include "sim/Missiles.h"

namespace qw {

void DrawMissiles(TGameState& g, GameServices& services, int view) {
    MissilePasses(g, services, view, [&g](double x, double y, double z) { DrawMissileBox(g, x, y, z); });
}

}  // namespace qw
