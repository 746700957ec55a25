// Rounds on stored worlds: a damaged file is played like an empty grid with
// the whole round set-up, and a creative world saved beside its damaged file
// goes on in that new file for the rest of the launch.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "WorldFileTestSupport.h"
#include "world/RoundSetup.h"
#include "world/WorldFile.h"
#include "world/WorldSavePolicy.h"

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

// A creative launch on a damaged world: build, "Neues Spiel" twice (each
// saves first), then quit (saves once more).
TEST(RoundOnAStoredWorld, AfterASaveBesideTheDamagedFileTheLaunchGoesOnInTheNewFile) {
    test::WorldTempDir dir;
    const std::string selected = dir.File("Welt.lev");
    const Bytes damaged = DamagedWorldFile();
    test::WriteFile(selected, damaged);
    auto state = std::make_unique<TGameState>();
    state->modusformKreativCheckchecked = true;
    GameRandom rng(3);
    TLaunchWorld launch;
    int notices = 0;
    const auto save = [&] {
        const CreativeSaveResult result = SaveCreativeWorld(*state);
        ASSERT_TRUE(result.ok) << result.error;
        notices += !result.notice.empty();
        launch.Saved(result);
    };

    launch.NewLaunch();
    EXPECT_THROW(SetUpRoundOnFile(*state, launch.File(selected), rng), std::runtime_error);
    state->level.at(5, 5, 5) = kBrick;  // the player builds
    for (int round = 2; round <= 3; ++round) {
        SCOPED_TRACE(round);
        save();
        EXPECT_NO_THROW(SetUpRoundOnFile(*state, launch.File(selected), rng));
        EXPECT_EQ(state->level.at(5, 5, 5), kBrick);
        EXPECT_EQ(state->levelname, dir.File("Welt2.lev"));
    }
    save();

    EXPECT_EQ(notices, 1);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"Welt.lev", "Welt2.lev"}));
    EXPECT_EQ(test::ReadFile(selected), damaged);

    // The next launch starts from the selected world again.
    launch.NewLaunch();
    EXPECT_EQ(launch.File(selected), selected);
}

TEST(RoundOnAStoredWorld, AnIntactWorldStaysTheLaunchsWorld) {
    test::WorldTempDir dir;
    const std::string selected = dir.File("Heim.lev");
    {
        TGameState world;
        SaveWorld(world, selected);
    }
    auto state = std::make_unique<TGameState>();
    state->modusformKreativCheckchecked = true;
    GameRandom rng(3);
    TLaunchWorld launch;
    launch.NewLaunch();
    SetUpRoundOnFile(*state, launch.File(selected), rng);
    state->level.at(1, 2, 3) = kWood;
    const CreativeSaveResult result = SaveCreativeWorld(*state);
    EXPECT_TRUE(result.ok && result.notice.empty() && result.divertedTo.empty());
    launch.Saved(result);
    EXPECT_EQ(launch.File(selected), selected);
    SetUpRoundOnFile(*state, launch.File(selected), rng);
    EXPECT_EQ(state->level.at(1, 2, 3), kWood);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Heim.lev"});
}

}  // namespace
}  // namespace qw
