#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "WorldFileTestSupport.h"
#include "world/WorldFile.h"
#include "world/WorldSavePolicy.h"

namespace qw {
namespace {

using test::Bytes;

class WorldSavePolicyTest : public ::testing::Test {
protected:
    test::WorldTempDir dir;
    TGameState state;
    void SetUp() override {
        test::ResetForLoad(state);
        state.modusformKreativCheckchecked = true;
    }
    // A world as the game would have saved it, with one marker cell.
    Bytes MakeWorldFile(const std::string& path, int32_t marker) {
        TGameState world;
        world.level.at(0, 0, 0) = marker;
        SaveWorld(world, path);
        return test::ReadFile(path);
    }
    int32_t MarkerIn(const std::string& path) {
        TGameState probe;
        LoadWorld(probe, path);
        return probe.level.at(0, 0, 0);
    }
};

TEST_F(WorldSavePolicyTest, OnlyCreativeRoundsSave) {
    state.levelname = dir.File("neu.lev");
    AdoptNewWorldName(state);
    state.modusformKreativCheckchecked = false;
    EXPECT_TRUE(SaveCreativeWorld(state).ok);
    EXPECT_TRUE(dir.Entries().empty());

    TGameState fresh;  // no round yet: nothing to save to
    fresh.modusformKreativCheckchecked = true;
    EXPECT_TRUE(SaveCreativeWorld(fresh).ok);
    EXPECT_TRUE(dir.Entries().empty());
}

TEST_F(WorldSavePolicyTest, NewWorldIsCreatedAndThenKeptUpToDate) {
    state.levelname = dir.File("Neue Welt.lev");
    AdoptNewWorldName(state);
    state.level.at(0, 0, 0) = 3;
    CreativeSaveResult first = SaveCreativeWorld(state);
    EXPECT_TRUE(first.ok) << first.error;
    EXPECT_TRUE(first.notice.empty());
    state.level.at(0, 0, 0) = 4;
    CreativeSaveResult second = SaveCreativeWorld(state);
    EXPECT_TRUE(second.ok && second.notice.empty());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"Neue Welt.lev"});
    EXPECT_EQ(MarkerIn(state.levelname), 4);
}

TEST_F(WorldSavePolicyTest, IntactWorldIsSavedInPlace) {
    const std::string path = dir.File("burg.lev");
    MakeWorldFile(path, 5);
    LoadWorld(state, path);
    state.level.at(0, 0, 0) = 6;
    CreativeSaveResult result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok && result.notice.empty());
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"burg.lev"});
    EXPECT_EQ(MarkerIn(path), 6);
    EXPECT_EQ(state.levelname, path);
}

TEST_F(WorldSavePolicyTest, DamagedOrIncompleteWorldGoesToTheNextFreeName) {
    const std::string path = dir.File("burg.lev");
    const Bytes damaged = test::CompressedFile(Bytes(50, 0xCD), 50, {});
    test::WriteFile(path, damaged);
    EXPECT_THROW(LoadWorld(state, path), std::runtime_error);
    state.level.at(0, 0, 0) = 7;

    CreativeSaveResult result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_NE(result.notice.find("burg2.lev"), std::string::npos) << result.notice;
    EXPECT_EQ(test::ReadFile(path), damaged);
    EXPECT_EQ(state.levelname, dir.File("burg2.lev"));
    EXPECT_EQ(MarkerIn(dir.File("burg2.lev")), 7);

    // Told once: later saves go to the new file quietly.
    state.level.at(0, 0, 0) = 8;
    result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok && result.notice.empty());
    EXPECT_EQ(MarkerIn(dir.File("burg2.lev")), 8);

    // A truncated file of the same name, with burg2.lev taken: burg3.lev.
    Bytes truncated = MakeWorldFile(path, 9);
    truncated.resize(truncated.size() - 10);
    test::WriteFile(path, truncated);
    test::ResetForLoad(state);
    EXPECT_EQ(LoadWorld(state, path).status, WorldLoadStatus::Incomplete);
    result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok);
    EXPECT_NE(result.notice.find("burg3.lev"), std::string::npos) << result.notice;
    EXPECT_EQ(test::ReadFile(path), truncated);
}

TEST_F(WorldSavePolicyTest, UnopenableWorldIsNeitherReplacedNorLost) {
    const std::string folder = dir.File("ordner.lev");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    state.levelname = dir.File("vorige Runde.lev");
    EXPECT_EQ(LoadWorld(state, folder).status, WorldLoadStatus::NotOpened);
    CreativeSaveResult result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.notice.empty());
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"ordner.lev", "ordner2.lev"}));

    // A world deleted before the round: its name is free again, so no notice.
    TGameState other;
    other.modusformKreativCheckchecked = true;
    LoadWorld(other, dir.File("weg.lev"));
    result = SaveCreativeWorld(other);
    EXPECT_TRUE(result.ok && result.notice.empty());
    EXPECT_EQ(other.levelname, dir.File("weg.lev"));
}

TEST_F(WorldSavePolicyTest, FileChangedBehindTheGamesBackIsNotReplaced) {
    const std::string path = dir.File("burg.lev");
    MakeWorldFile(path, 5);
    LoadWorld(state, path);
    const Bytes elsewhere = MakeWorldFile(path, 11);  // another program rewrote it

    CreativeSaveResult result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok);
    EXPECT_NE(result.notice.find("verändert"), std::string::npos) << result.notice;
    EXPECT_EQ(test::ReadFile(path), elsewhere);
    EXPECT_EQ(MarkerIn(dir.File("burg2.lev")), 5);

    // Same for a new world whose free name got taken meanwhile.
    TGameState fresh;
    fresh.modusformKreativCheckchecked = true;
    fresh.levelname = dir.File("neu.lev");
    AdoptNewWorldName(fresh);
    MakeWorldFile(fresh.levelname, 12);
    result = SaveCreativeWorld(fresh);
    EXPECT_FALSE(result.notice.empty());
    EXPECT_EQ(MarkerIn(dir.File("neu.lev")), 12);
    EXPECT_EQ(fresh.levelname, dir.File("neu2.lev"));
}

TEST_F(WorldSavePolicyTest, FailedSaveReportsAndKeepsEverything) {
    const std::string path = dir.File("burg.lev");
    const Bytes old = MakeWorldFile(path, 5);
    LoadWorld(state, path);
    state.level.at(0, 0, 0) = 6;
    WriteCall full = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    CreativeSaveResult result = SaveCreativeWorld(state, full);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.starts_with("Die Welt konnte nicht gespeichert werden")) << result.error;
    EXPECT_EQ(test::ReadFile(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"burg.lev"});

    // The next try still goes to the world's own file.
    result = SaveCreativeWorld(state);
    EXPECT_TRUE(result.ok && result.notice.empty());
    EXPECT_EQ(MarkerIn(path), 6);
}

}  // namespace
}  // namespace qw
