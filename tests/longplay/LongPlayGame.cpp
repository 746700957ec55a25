#include "LongPlayGame.h"

#include <GL/gl.h>

#include <cmath>
#include <stdexcept>

#include "assets/MlfFont.h"
#include "assets/Screenshot.h"
#include "assets/Skin.h"
#include "assets/TextureLoader.h"
#include "render/GLState.h"
#include "render/Views.h"
#include "shell/GameFrame.h"
#include "shell/Overlay.h"
#include "sim/Joyst.h"
#include "world/RoundSetup.h"
#include "world/WorldSavePolicy.h"

namespace qw::test {

std::string LoadGameData(TGameState& g) {
    std::string problems;
    g.ProgPath = std::string(QUADERWELT_DATA_DIR) + "/";
    // FormCreate's steps, each reporting instead of showing an error box.
    glGenTextures(static_cast<GLsizei>(g.texName.size()), g.texName.data());
    try {
        LoadBlockTextures(g.ProgPath, g.texName);
    } catch (const std::runtime_error& e) {
        problems += e.what();
    }
    const TSkinReport report{[&](const std::string& text) { problems += text; },
                             [&](const std::string& message) { problems += message; }};
    OpenThePng(g, g.ProgPath + "gegner.png", report);
    InitSkinTextures(g, kOpponentSkinBase);
    OpenThePng(g, g.ProgPath + "spieler.png", report);
    InitSkinTextures(g, kPlayerSkinBase);
    BuildBlockLists(g);
    OpenMLFontFile(g, g.ProgPath + "Arial.mlf", [&](const std::string& message) { problems += message; });
    return problems;
}

TLongPlayGame::TLongPlayGame(const std::string& folder, uint64_t seed) : folder_(folder) {
    services_.rng = GameRandom(seed);
    if (!context_.ok()) return;
    TGameState& g = *state_;
    loadProblems_ = LoadGameData(g);
    g.setstatus = true;
    g.statustime = services_.TickCount();
    JoystickInit(g.joy1, 0, services_);
}

void TLongPlayGame::MakeNewGame() {
    TGameState& g = *state_;
    SetUpRoundOnNewWorld(g, NewWorldLevelName(folder_ + "/", "langes Spiel"), services_);
    ++rounds_;
}

void TLongPlayGame::Show(const TGameChoice& choice) {
    TGameState& g = *state_;
    g.modusformKreativCheckchecked = choice.kreativ;
    g.modusformFightCheckchecked = choice.fight;
    g.multiplayer = choice.twoPlayers;
    MakeNewGame();
    services_.ShowCursor(false);
    InitGLState(g, kWidth, kHeight);
    services_.ShowCursor(g.quitmode);
}

void TLongPlayGame::Frame() {
    TFrameHooks hooks;
    hooks.cells = [this](int view) { fastWorld_.DrawCells(*state_, view); };
    hooks.takeScreenshot = [this] {
        TakeScreenshot(folder_ + "/Bilder", kWidth, kHeight);
        ++screenshots_;
    };
    GameFrame(*state_, services_, kWidth, kHeight, hooks);
    glFinish();  // the frame's whole cost, as a buffer swap would wait for it
}

void TLongPlayGame::MouseDown(int x, int y) {
    TGameState& g = *state_;
    TMenuActions actions;
    actions.terminateApplication = [] {};  // the player starts the game again: the round goes on
    actions.hideCursor = [&] { services_.ShowCursor(false); };
    actions.saveWorld = [&] {
        const CreativeSaveResult result = SaveCreativeWorld(g);
        if (!result.ok) throw std::runtime_error("creative save failed: " + result.error);
        ++saves_;
        return true;
    };
    actions.makeNewGame = [&] { MakeNewGame(); };
    MenuMouseDown(g, x, y, kWidth, kHeight, actions);
}

namespace {

bool KnownCode(int32_t code) { return (code >= kEmpty && code <= kHillGrass) || (code >= kFire1 && code <= kFire2); }

// The cell index of a world coordinate, wrapped; any finite value.
int64_t WrappedCell(double world) { return WrapIndex(static_cast<int64_t>(std::floor(std::fmod(world / 4, 201.0)))); }

std::string ForeignCodeNear(const TLevel& level, double wx, double wy, double wz, int radius) {
    if (!std::isfinite(wx) || !std::isfinite(wy) || !std::isfinite(wz)) return "";
    const int64_t cx = WrappedCell(wx), cy = WrappedCell(wy), cz = WrappedCell(wz);
    for (int64_t x = cx - radius; x <= cx + radius; ++x)
        for (int64_t y = cy - radius; y <= cy + radius; ++y)
            for (int64_t z = cz - radius; z <= cz + radius; ++z)
                if (!KnownCode(level.wrapped(x, y, z)))
                    return "cell code " + std::to_string(level.wrapped(x, y, z)) + " near (" + std::to_string(cx) +
                           ", " + std::to_string(cy) + ", " + std::to_string(cz) + ")";
    return "";
}

std::string ForeignCodeAnywhere(const TLevel& level) {
    const int32_t* cells = level.data();
    for (size_t i = 0; i < kGridCells; ++i)
        if (!KnownCode(cells[i])) return "cell code " + std::to_string(cells[i]) + " at offset " + std::to_string(i);
    return "";
}

struct TRange {
    const char* name;
    double value, low, high;
};

}  // namespace

std::string BrokenInvariant(const TGameState& g, bool wholeGrid) {
    const TRange ranges[] = {
        // Positions are wrapped at the start of a frame to about +-400; one
        // frame moves a figure a few units at most.
        {"posx", g.posx, -420, 420}, {"posy", g.posy, -420, 420}, {"posz", g.posz, -420, 420},
        {"gposx", g.gposx, -420, 420}, {"gposy", g.gposy, -420, 420}, {"gposz", g.gposz, -420, 420},
        {"angle2", g.angle2, -90, 90}, {"gangle2", g.gangle2, -90, 90},
        {"gegnermodus", double(g.gegnermodus), 0, 6}, {"gdistanzmode", double(g.gdistanzmode), 0, 3},
        {"material", double(g.material), 0, 8}, {"gmaterial", double(g.gmaterial), 0, 8},
        {"viewmode", double(g.viewmode), 0, 2}, {"playerwin", double(g.playerwin), 0, 1},
        {"jump", double(g.jump), 0, 8}, {"gjump", double(g.gjump), 0, 8},
        {"tjump", double(g.tjump), 0, 8}, {"gtjump", double(g.gtjump), 0, 8},
        {"counteinschlag", double(g.counteinschlag), 0, 10}, {"gcounteinschlag", double(g.gcounteinschlag), 0, 10},
        {"screenshot", double(g.screenshot), 0, 10},
        {"rotmode", double(g.rotmode), 0, 1}, {"grotmode", double(g.grotmode), 0, 1},
        // Lives may go below 0 from fire still burning when a round ends,
        // never by more than a few.
        {"leben", double(g.leben), -10, 10}, {"gleben", double(g.gleben), -10, 10},
    };
    for (const TRange& r : ranges)
        if (!(r.value >= r.low && r.value <= r.high)) return std::string(r.name) + " = " + std::to_string(r.value);
    // Missiles may fly for ever, but never to a non-finite point.
    const TRange finite[] = {
        {"angle", g.angle, 0, 0}, {"gangle", g.gangle, 0, 0},
        {"misslex", g.misslex, 0, 0}, {"missley", g.missley, 0, 0}, {"misslez", g.misslez, 0, 0},
        {"gmisslex", g.gmisslex, 0, 0}, {"gmissley", g.gmissley, 0, 0}, {"gmisslez", g.gmisslez, 0, 0},
        {"missledirx", g.missledirx, 0, 0}, {"misslediry", g.misslediry, 0, 0}, {"missledirz", g.missledirz, 0, 0},
        {"gmissledirx", g.gmissledirx, 0, 0}, {"gmisslediry", g.gmisslediry, 0, 0},
        {"gmissledirz", g.gmissledirz, 0, 0},
    };
    for (const TRange& r : finite)
        if (!std::isfinite(r.value)) return std::string(r.name) + " = " + std::to_string(r.value);
    if (g.emeraldy != kNoEmeraldY && !(InGrid(g.emeraldx) && InGrid(g.emeraldy) && InGrid(g.emeraldz)))
        return "emerald at (" + std::to_string(g.emeraldx) + ", " + std::to_string(g.emeraldy) + ", " +
               std::to_string(g.emeraldz) + ")";

    // Cells change where the figures edit and where missiles strike.
    std::string foreign = ForeignCodeNear(g.level, -g.posx, -g.posy, -g.posz, kViewRadius);
    if (foreign.empty()) foreign = ForeignCodeNear(g.level, -g.gposx, -g.gposy, -g.gposz, kViewRadius);
    if (foreign.empty()) foreign = ForeignCodeNear(g.level, g.misslex, g.missley, g.misslez, 4);
    if (foreign.empty()) foreign = ForeignCodeNear(g.level, g.gmisslex, g.gmissley, g.gmisslez, 4);
    if (foreign.empty() && wholeGrid) foreign = ForeignCodeAnywhere(g.level);
    return foreign;
}

}  // namespace qw::test
