#include "BenchGame.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "assets/MlfFont.h"
#include "assets/Skin.h"
#include "assets/TextureLoader.h"
#include "render/GLState.h"
#include "world/RoundSetup.h"

namespace qw::bench {

void CreateGameResources(TGameState& g) {
    g.ProgPath = QUADERWELT_DATA_DIR "/";
    glGenTextures(static_cast<GLsizei>(g.texName.size()), g.texName.data());
    LoadBlockTextures(g.ProgPath, g.texName);
    const auto fail = [](const std::string& message) { throw std::runtime_error(message); };
    const TSkinReport report{fail, fail};
    OpenThePng(g, g.ProgPath + "gegner.png", report);
    InitSkinTextures(g, kOpponentSkinBase);
    OpenThePng(g, g.ProgPath + "spieler.png", report);
    InitSkinTextures(g, kPlayerSkinBase);
    BuildBlockLists(g);
    LoadGameFont(g);
}

void LoadGameFont(TGameState& g) {
    OpenMLFontFile(g, QUADERWELT_DATA_DIR "/Arial.mlf", [](const std::string& message) {
        throw std::runtime_error(message);
    });
}

void StartRound(TGameState& g, RandomSource& rng, TPlayMode mode, bool twoPlayers) {
    g.modusformKreativCheckchecked = false;
    g.modusformFightCheckchecked = mode == TPlayMode::Fight;
    g.multiplayer = twoPlayers;
    NewGame(g, true, rng);
    FinishRoundSetup(g, rng);
}

TScriptedPlayer::TScriptedPlayer(int width, int height, uint64_t seed) : services_{} {
    services_.rng = GameRandom(seed);
    services_.geometry = {0, 0, width, height, width, height};
    services_.statusReply = "playing";
}

void TScriptedPlayer::BeforeFrame() {
    test::FakeServices& s = services_;
    const int f = frame_++;
    s.ticks += 20;
    s.keysHeld.clear();
    // Player 1 walks forward all the time, strafes now and then, turns with
    // the mouse, jumps every two seconds and shoots every half second.
    s.keysHeld.insert('W');
    if (f % 150 < 30) s.keysHeld.insert('A');
    if (f % 100 == 0) s.keysHeld.insert(VK_SPACE);
    if (f % 25 == 0) s.keysHeld.insert(VK_LBUTTON);
    const TWindowGeometry& w = s.geometry;
    s.cursor = {w.left + w.width / 2 + (f % 200 < 100 ? 15 : -15), w.top + w.height / 2 + (f % 60 < 30 ? 2 : -2)};
    // Player 2, used in two-player rounds only.
    s.keysHeld.insert(VK_UP);
    s.keysHeld.insert(VK_NUMPAD6);
    if (f % 25 == 12) s.keysHeld.insert(VK_NUMPAD1);
    // Sound replies do not matter here; dropping them keeps memory flat.
    s.soundCommands.clear();
    s.cursorMoves.clear();
}

double PeakResidentMegabytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    double kilobytes = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0) kilobytes = std::strtod(line + 6, nullptr);
    std::fclose(status);
    return kilobytes / 1024.0;
}

}  // namespace qw::bench
