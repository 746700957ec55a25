#pragma once
// The game window without the window: the data files of data/ loaded as at
// start-up, the game's frame (GameFrame) drawn into an off-screen context,
// and the menu's actions wired as the window wires them. Inputs come from
// FakeServices.
#include <cstdint>
#include <memory>
#include <string>

#include "render/FastWorld.h"
#include "support/FakeServices.h"
#include "support/OsMesaContext.h"
#include "world/GameState.h"

namespace qw::test {

struct TGameChoice {
    bool kreativ = false;
    bool fight = false;
    bool twoPlayers = false;
};

class TLongPlayGame {
public:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    // folder: a writable folder for world files and screenshots.
    TLongPlayGame(const std::string& folder, uint64_t seed);
    bool ok() const { return context_.ok() && loadProblems_.empty(); }
    const std::string& loadProblems() const { return loadProblems_; }

    // FormShow: the choices, a new world, the GL state, the cursor.
    void Show(const TGameChoice& choice);
    // One timer tick.
    void Frame();
    // A mouse press at window pixel (x, y) while the game runs.
    void MouseDown(int x, int y);

    TGameState& state() { return *state_; }
    FakeServices& services() { return services_; }
    int rounds() const { return rounds_; }
    int saves() const { return saves_; }
    int screenshots() const { return screenshots_; }

private:
    void MakeNewGame();

    OsMesaContext context_{kWidth, kHeight};
    std::unique_ptr<TGameState> state_ = std::make_unique<TGameState>();
    FakeServices services_;
    TFastWorld fastWorld_;
    std::string folder_;
    std::string loadProblems_;
    int rounds_ = 0;
    int saves_ = 0;
    int screenshots_ = 0;
};

// FormCreate's loading from data/ on the current context: texture names,
// block textures, both default skins, block lists and the font. Returns what
// went wrong, "" when nothing did.
std::string LoadGameData(TGameState& g);

// The first broken rule of the game state, or "" when every field is in its
// range. Looks at the cells in the view windows of both figures and both
// missiles; wholeGrid also at every other cell.
std::string BrokenInvariant(const TGameState& g, bool wholeGrid);

}  // namespace qw::test
