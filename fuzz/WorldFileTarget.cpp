#include <cmath>
#include <memory>
#include <stdexcept>

#include "FuzzTargets.h"
#include "MemoryFile.h"
#include "sim/FrameUpdate.h"
#include "sim/Opponent.h"
#include "support/FakeServices.h"
#include "world/FigureBlock.h"
#include "world/RoundSetup.h"
#include "world/WorldFile.h"

namespace qw::fuzz {
namespace {

bool FiguresFinite(const TGameState& s) {
    for (const FigureField& f : kFigureFields)
        if (!std::isfinite(s.*f.field)) return false;
    return true;
}

// What a loaded world meets first: the update phase of a round, with a
// player walking and jumping and the computer opponent at work.
void PlayOneFrame(TGameState& s, bool fight) {
    s.modusformFightCheckchecked = fight;
    s.modusformKreativCheckchecked = false;
    s.multiplayer = false;
    test::FakeServices services;
    services.keysHeld = {'W', 'D', VK_SPACE};
    services.cursor = {600, 300};
    FinishRoundSetup(s, services);
    UpdateHooks hooks;
    hooks.opponentController = OpponentController;
    UpdatePhase(s, services, hooks);
    Require(FiguresFinite(s), "figure values finite after a frame");
}

}  // namespace

void FeedWorldFile(Bytes bytes) {
    // One grid for all runs: a fresh 32 MB record per input would cost more
    // than the loading.
    static const auto state = std::make_unique<TGameState>();
    TGameState& s = *state;
    GameRandom rng(1);
    NewGame(s, false, rng);
    MemoryFile file(bytes);
    try {
        const WorldLoadReport report = LoadWorld(s, file.path());
        Require(report.status != WorldLoadStatus::NotOpened, "a memory file opens");
    } catch (const std::runtime_error&) {
        // A damaged compressed block: the game shows the message, the grid is empty.
        return;
    }
    Require(FiguresFinite(s), "figure values finite after loading");
    PlayOneFrame(s, true);
    PlayOneFrame(s, false);
}

}  // namespace qw::fuzz
