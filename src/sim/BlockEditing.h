#pragma once
// Digging and building along a view's aim ray, and the trigger of the
// players' missiles. The ray comes from the view's depth buffer; these rules
// only need its two points.
#include <cstdint>
#include <functional>
#include <optional>

#include "sim/Services.h"
#include "sim/WorldPoint.h"
#include "world/GameState.h"

namespace qw {

// From the near-plane point at the view centre through the picked point.
struct TAimRay {
    TWorldPoint nearPoint;
    TWorldPoint picked;
};

struct TCellIndex {
    int x = 0, y = 0, z = 0;  // each in -100 ... 100
    friend bool operator==(const TCellIndex&, const TCellIndex&) = default;
};

struct EditHooks {
    // The player's missile launch along the aim ray; figure 0 or 1.
    std::function<void(TGameState&, GameServices&, int figure, const TAimRay&)> launchMissile;
};

// The edit scan: the first cell, in the order y, x, z ascending over the
// 41-cell cube around the view cell, whose box contains q (closed bounds)
// and which is empty (wantEmpty) or not.
std::optional<TCellIndex> FindEditCell(const TLevel& level, int64_t cx, int64_t cy, int64_t cz,
                                       const TWorldPoint& q, bool wantEmpty);

// The view's player places its material in the empty cell just in front of
// the picked point; taken back when it would trap the player.
void PlaceBlock(TGameState& state, GameServices& services, int view, const TAimRay& ray);

// With the weapon (outside the creative mode) fires; otherwise digs out the
// block just behind the picked point. Digging the emerald in the search mode
// ends the round.
void RemoveBlockOrFire(TGameState& state, GameServices& services, int view, const TAimRay& ray,
                       const EditHooks& hooks);

}  // namespace qw
