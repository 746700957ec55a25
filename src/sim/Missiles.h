#pragma once
// The missiles of both figures: launching, the flight in ten sub-steps per
// frame under a little gravity, and the test that makes them strike.
#include <functional>

#include "sim/BlockEditing.h"
#include "sim/Services.h"
#include "world/GameState.h"

namespace qw {

inline constexpr int kSubStepsPerFrame = 10;
inline constexpr double kMissileGravity = 0.01;  // per frame, off the direction's y part

// A player's shot (figure 0 or 1) from the ray's near point toward the
// picked point. Ignored while the figure's missile exists, and for a ray
// without length or direction.
void PlayerLaunch(TGameState& state, GameServices& services, int figure, const TAimRay& ray);

// The computer opponent's shot: from 10 units above its feet along its
// heading, sloping down by a random amount (more steeply in a fight).
void OpponentLaunch(TGameState& state, GameServices& services);

// One sub-step's test of the figure's missile against the other figure's
// hit box, then against the cells around it; explodes on the first hit.
// True when it struck.
bool ImpactTest(TGameState& state, GameServices& services, int figure);

// Ten sub-steps of flight, then gravity. Missiles move in view 0 only, not
// while paused and not once they have struck.
void MissileFlight(TGameState& state, GameServices& services, int figure, int view);

// The missile step of a view: for the first figure's missile, then the
// second's, if it exists: flight, drawBox at its position (also while its
// fire burns), fire countdown.
void MissilePasses(TGameState& state, GameServices& services, int view,
                   const std::function<void(double x, double y, double z)>& drawBox);

}  // namespace qw
