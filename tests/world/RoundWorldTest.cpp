// Rounds on stored worlds: a damaged file is played like an empty grid with
// the whole round set-up.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "WorldFileTestSupport.h"
#include "world/RoundSetup.h"
#include "world/WorldFile.h"

namespace qw {
namespace {

using test::Bytes;

// The magic, a block length and no zlib stream at all.
Bytes DamagedWorldFile() { return test::CompressedFile(Bytes(100, 0xAB), 100, std::vector<double>(10, 1.0)); }

struct TMode {
    const char* name;
    bool creative, fight;
};
constexpr TMode kModes[] = {{"search", false, false}, {"creative", true, false}, {"fight", false, true}};

// What an earlier round (or the start of the program) left behind.
void LeaveARoundBehind(TGameState& state, const TMode& mode) {
    state.modusformKreativCheckchecked = mode.creative;
    state.modusformFightCheckchecked = mode.fight;
    state.emeraldx = state.emeraldy = state.emeraldz = 0;  // a cell the opponent could see at once
    state.gegnermodus = 5;
    state.gdistanzmode = 3;
}

TEST(RoundOnAStoredWorld, ADamagedFileIsSetUpLikeOneThatCouldNotBeOpened) {
    test::WorldTempDir dir;
    test::WriteFile(dir.File("Kaputt.lev"), DamagedWorldFile());
    for (const TMode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        auto damaged = std::make_unique<TGameState>();
        auto missing = std::make_unique<TGameState>();
        LeaveARoundBehind(*damaged, mode);
        LeaveARoundBehind(*missing, mode);
        GameRandom damagedDraws(7), missingDraws(7);

        EXPECT_THROW(SetUpRoundOnFile(*damaged, dir.File("Kaputt.lev"), damagedDraws), std::runtime_error);
        SetUpRoundOnFile(*missing, dir.File("Fehlt.lev"), missingDraws);

        EXPECT_TRUE(test::GridIsEmpty(damaged->level));
        EXPECT_EQ(damaged->emeraldy, missing->emeraldy);
        EXPECT_EQ(damaged->emeraldx, missing->emeraldx);
        EXPECT_EQ(damaged->emeraldz, missing->emeraldz);
        if (!mode.creative && !mode.fight) {
            EXPECT_EQ(damaged->emeraldy, kNoEmeraldY);
        }
        EXPECT_EQ(damaged->material, mode.creative ? 0 : 8);
        EXPECT_EQ(damaged->gmaterial, missing->gmaterial);
        EXPECT_EQ(damaged->gegnermodus, 0);
        EXPECT_EQ(damaged->gdistanzmode, 0);
        EXPECT_EQ(damagedDraws.Random(1000), missingDraws.Random(1000));  // the same draws were made
        EXPECT_EQ(damaged->levelname, dir.File("Kaputt.lev"));
    }
}

}  // namespace
}  // namespace qw
