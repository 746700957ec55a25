#pragma once
// Aiming with the centre of a view: the near-plane point and the picked point
// from the depth buffer, and the once-per-press edit inputs of each player.
#include <cstdint>
#include <optional>

#include "sim/BlockEditing.h"
#include "sim/Services.h"
#include "sim/WorldPoint.h"
#include "world/GameState.h"

namespace qw {

// Where the view's centre ray meets the near plane, from the current
// matrices and viewport. Empty when the matrices cannot be inverted.
std::optional<TWorldPoint> ViewNearPoint();

// The world point drawn at window pixel (wx, wy) (origin lower left), from
// the depth buffer; the far plane where nothing was drawn. Empty when the
// unprojection fails.
std::optional<TWorldPoint> PickWorldPoint(int32_t wx, int32_t wy);

// The aim ray of the view whose viewport is current: from nearPoint to the
// world point drawn at the viewport's centre pixel. Empty without a near
// point or when the unprojection fails.
std::optional<TAimRay> PickAimRay(const std::optional<TWorldPoint>& nearPoint);

// Runs after a view's cells are drawn, with the view's viewport current:
// polls the view player's place and remove inputs through their latches and,
// on a new press, picks the point at the viewport's centre pixel and places,
// digs or fires. nearPoint is ViewNearPoint taken right after the view's
// camera was set.
void PickAndEdit(TGameState& state, GameServices& services, int view,
                 const std::optional<TWorldPoint>& nearPoint, const EditHooks& hooks);

}  // namespace qw
