#pragma once
// When and where the world of a creative round is saved. No save overwrites a
// file with a world that did not come from it intact: such a world goes to a
// new file under the next free name of the new-world rule instead.
#include <string>

#include "world/AtomicFile.h"
#include "world/GameState.h"

namespace qw {

struct CreativeSaveResult {
    bool ok = true;          // false: the world is not saved and stays in memory
    std::string error;       // when !ok: text for an error box, caption "Fehler"
    std::string notice;      // when the world went to a new file: tell the user this once
    std::string divertedTo;  // that new file
};

// The round set-up has just chosen levelname for a new world: nothing of this
// world is there yet, so a save may create the file but not replace another.
void AdoptNewWorldName(TGameState& state);

// The stored world that the rounds of one launch play: the world selected in
// the start dialog, until a creative save has to go to a new file because the
// selected one was not read intact or was changed by someone else. From then
// on the new file is the launch's world: a new round reloads it, so the
// player's building goes on, and later saves go to it without more copies or
// notices. A new launch plays the selected world again.
class TLaunchWorld {
public:
    void NewLaunch() { diverted_.clear(); }
    // The file a round of this launch loads, given the start dialog's choice.
    const std::string& File(const std::string& selected) const { return diverted_.empty() ? selected : diverted_; }
    // Follows a creative save of this launch.
    void Saved(const CreativeSaveResult& result) {
        if (!result.divertedTo.empty()) diverted_ = result.divertedTo;
    }

private:
    std::string diverted_;
};

// In creative mode, saves the world in memory to the file it belongs to, or to
// a new file when that file was not read intact or was changed by anyone else
// since; levelname then follows the new file. Outside creative mode, or before
// any round, it does nothing and succeeds.
CreativeSaveResult SaveCreativeWorld(TGameState& state, WriteCall write = {});

}  // namespace qw
