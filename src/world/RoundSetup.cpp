#include "world/RoundSetup.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "world/WorldFile.h"
#include "world/WorldGenerator.h"
#include "world/WorldSavePolicy.h"

namespace qw {

void NewGame(TGameState& state, bool createlev, RandomSource& rng) {
    state.level.clear();
    state.posx = 0;
    state.posy = -20;
    state.posz = 0;
    state.angle = 0;
    state.angle2 = 0;
    state.gposx = 0;
    state.gposy = -20;
    state.gposz = 20;
    state.gangle = 180;
    state.material = 8;
    state.gmaterial = 8;
    state.leben = 10;
    state.gleben = 10;
    state.missle = false;
    state.gmissle = false;
    state.showdist = false;
    if (createlev) GenerateWorld(state.level, rng);
}

void versteckeemerald(TGameState& state, RandomSource& rng) {
    if (state.modusformKreativCheckchecked || state.modusformFightCheckchecked) return;
    int x = 0;
    int z = 0;
    do {
        x = rng.Random(200) - 100;
        z = rng.Random(200) - 100;
    } while (std::abs(x) < 16 || std::abs(z) < 16);
    int y = kGridMax;
    for (; y >= kGridMin; --y) {
        int32_t& cell = state.level.at(x, y, z);
        if (cell != kEmpty) {
            cell = kEmerald;
            break;
        }
    }
    state.emeraldx = x;
    state.emeraldy = y;  // one below the grid when the column was empty
    state.emeraldz = z;
}

namespace {

// Anything at the path takes the name: a file, a folder, even a dangling
// link, since a save there would fail or write somewhere else. A path that
// cannot be checked at all (too long, no access) counts as free so that the
// numbering always ends; the save then reports the problem.
bool SomethingExistsAt(const std::string& path) {
    std::error_code error;
    auto status = std::filesystem::symlink_status(path, error);
    return !error && status.type() != std::filesystem::file_type::not_found;
}

}  // namespace

std::string NewWorldLevelName(const std::string& dataFolder, const std::string& name) {
    std::string safeName = name;
    // A NUL would cut the path short, so every number would test the same file.
    for (char& ch : safeName)
        if (ch == '/' || ch == '\0') ch = '_';
    std::string levelname = dataFolder + safeName + ".lev";
    for (long a = 2; SomethingExistsAt(levelname); ++a)
        levelname = dataFolder + safeName + std::to_string(a) + ".lev";
    return levelname;
}

void FinishRoundSetup(TGameState& state, RandomSource& rng) {
    if (!state.modusformKreativCheckchecked) versteckeemerald(state, rng);
    if (state.modusformKreativCheckchecked) {
        state.material = 0;
        state.gmaterial = 0;
    }
    state.gegnermodus = 0;
    state.gdistanzmode = 0;
}

void SetUpRoundOnFile(TGameState& state, const std::string& path, RandomSource& rng) {
    NewGame(state, false, rng);
    // A damaged file leaves the grid empty. Without the rest of the set-up the
    // emerald would stay where the last round (or the program's start) put
    // it, in sight of the opponent, and creative hands would hold the weapon.
    std::exception_ptr damaged;
    try {
        LoadWorld(state, path);
    } catch (const std::runtime_error&) {
        damaged = std::current_exception();
    }
    FinishRoundSetup(state, rng);
    if (damaged) std::rethrow_exception(damaged);
}

void SetUpRoundOnNewWorld(TGameState& state, const std::string& levelname, RandomSource& rng) {
    NewGame(state, true, rng);
    state.levelname = levelname;
    AdoptNewWorldName(state);
    FinishRoundSetup(state, rng);
}

}  // namespace qw
