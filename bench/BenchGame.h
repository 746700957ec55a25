#pragma once
// What several benchmark cases share: the resources the game window makes at
// start-up, a seeded round, and a scripted player whose frames are the same
// every run.
#include <cstdint>
#include <functional>
#include <memory>

#include "support/FakeServices.h"
#include "world/GameState.h"

namespace qw::bench {

// The game window's creation work on the current context: texture names,
// block textures, the two default skins, block lists and the font.
void CreateGameResources(TGameState& g);
// Only the font, which lives in the record, for a second record that shares
// the first one's GL names.
void LoadGameFont(TGameState& g);

enum class TPlayMode { Search, Fight };

// A new generated round with the same world for the same seed.
void StartRound(TGameState& g, RandomSource& rng, TPlayMode mode, bool twoPlayers);

// Keys and mouse of a player who walks, turns, jumps and shoots, frame by
// frame; the second player does the same with the numeric pad.
class TScriptedPlayer {
public:
    TScriptedPlayer(int width, int height, uint64_t seed);
    // Sets the inputs of the next frame and advances the clock.
    void BeforeFrame();
    test::FakeServices& services() { return services_; }

private:
    test::FakeServices services_;
    int frame_ = 0;
};

// Reads VmHWM (peak resident set) of this process, in megabytes.
double PeakResidentMegabytes();

}  // namespace qw::bench
