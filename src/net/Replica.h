#pragma once
// The guest's record is a replica of the host's, fed by snapshots and cell
// changes. In it the guest's own figure is the first figure, so that the
// guest draws its player's view as view 0 with the first player's camera,
// overlay and skin slot, exactly as the host draws its own.
#include <string>
#include <vector>

#include "net/Protocol.h"
#include "world/GameState.h"

namespace qw::net {

// What the guest draws or shows of the host's record.
TSnapshot TakeSnapshot(const TGameState& host);

// Puts a snapshot into the guest's replica with the two figures swapped.
// While the guest plays, its own look is its mouse's, not the host's echo of
// it; ownLook false takes the host's (when the host has paused the game, the
// look it kept is the one that counts).
void ApplySnapshot(TGameState& replica, const TSnapshot& snapshot, bool ownLook);

// The names of the fields the guest draws or shows that differ between the
// host's record and the guest's replica, cells included; empty when equal.
std::vector<std::string> ReplicaDifferences(const TGameState& host, const TGameState& replica);

}  // namespace qw::net
