#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "world/GameState.h"
#include "world/Random.h"
#include "world/RoundSetup.h"
#include "world/WorldGenerator.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

// Hands out scripted values and fails the test on any draw beyond them.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::initializer_list<int> values) : values_(values) {}
    int Random(int n) override {
        EXPECT_EQ(n, 200);
        if (values_.empty()) {
            ADD_FAILURE() << "unexpected draw";
            return 0;
        }
        int v = values_.front();
        values_.pop_front();
        return v;
    }
    bool used() const { return values_.empty(); }

private:
    std::deque<int> values_;
};

class NoDraws : public RandomSource {
public:
    int Random(int) override {
        ADD_FAILURE() << "no draw expected";
        return 0;
    }
};

std::unique_ptr<TGameState> MakeState() { return std::make_unique<TGameState>(); }

// A column of blocks up to `top` at (x, z), with an earth cell and a gap below.
void BuildColumn(TLevel& level, int x, int z, int top) {
    for (int y = -100; y <= top; ++y) level.at(x, y, z) = kDirt;
    level.at(x, top - 3, z) = kEmpty;
}

TEST(NewGame, ResetsTheRoundFieldsAndEmptiesTheGrid) {
    auto state = MakeState();
    TGameState& s = *state;
    s.level.at(-100, -100, -100) = 5;
    s.level.at(100, 100, 100) = 102;
    s.posx = 3, s.posy = 4, s.posz = 5, s.angle = 90, s.angle2 = 45;
    s.gposx = 6, s.gposy = 7, s.gposz = 8, s.gangle = 12, s.gangle2 = 33;
    s.material = 2, s.gmaterial = 3, s.leben = -1, s.gleben = 0;
    s.missle = s.gmissle = s.showdist = true;
    s.quitmode = s.emeraldfound = true;
    s.playerwin = 1;
    s.viewmode = 2;

    NoDraws rng;
    NewGame(s, false, rng);

    const int32_t* cells = s.level.data();
    for (std::size_t i = 0; i < kGridCells; ++i) ASSERT_EQ(cells[i], 0) << i;
    EXPECT_EQ(s.posx, 0);
    EXPECT_EQ(s.posy, -20);
    EXPECT_EQ(s.posz, 0);
    EXPECT_EQ(s.angle, 0);
    EXPECT_EQ(s.angle2, 0);
    EXPECT_EQ(s.gposx, 0);
    EXPECT_EQ(s.gposy, -20);
    EXPECT_EQ(s.gposz, 20);
    EXPECT_EQ(s.gangle, 180);
    EXPECT_EQ(s.material, 8);
    EXPECT_EQ(s.gmaterial, 8);
    EXPECT_EQ(s.leben, 10);
    EXPECT_EQ(s.gleben, 10);
    EXPECT_FALSE(s.missle);
    EXPECT_FALSE(s.gmissle);
    EXPECT_FALSE(s.showdist);
    // Left for others: the second figure's pitch, the camera, the round's outcome.
    EXPECT_EQ(s.gangle2, 33);
    EXPECT_EQ(s.viewmode, 2);
    EXPECT_TRUE(s.quitmode);
    EXPECT_TRUE(s.emeraldfound);
    EXPECT_EQ(s.playerwin, 1);
}

TEST(NewGame, CreatesTheSeededWorldInTheEmptiedGrid) {
    auto state = MakeState();
    state->level.at(0, 50, 0) = kMetal;  // left over from the last round
    GameRandom rng(99);
    NewGame(*state, true, rng);

    auto expected = std::make_unique<TLevel>();
    GameRandom same(99);
    GenerateWorld(*expected, same);
    EXPECT_EQ(std::memcmp(state->level.data(), expected->data(), kGridBytes), 0);
}

TEST(Versteckeemerald, RedrawsUntilBothCoordinatesAreFarFromTheAxes) {
    auto state = MakeState();
    BuildColumn(state->level, -100, 16, 4);
    BuildColumn(state->level, 15, -16, 4);
    // x = 0 fails; then x = 15 fails (z is still drawn); then x = -100, z = 16.
    ScriptedRandom rng{100, 0, 115, 84, 0, 116};
    versteckeemerald(*state, rng);
    EXPECT_TRUE(rng.used());
    EXPECT_EQ(state->emeraldx, -100);
    EXPECT_EQ(state->emeraldz, 16);
    EXPECT_EQ(state->emeraldy, 4);
    EXPECT_EQ(state->level.at(-100, 4, 16), kEmerald);
    EXPECT_EQ(state->level.at(-100, 3, 16), kDirt);
    EXPECT_EQ(state->level.at(15, 4, -16), kDirt);
}

TEST(Versteckeemerald, TopCellOfAnyCodeOrNoneInAnEmptyColumn) {
    auto state = MakeState();
    state->level.at(-16, 100, -16) = -7;  // a world file may hold any code
    state->level.at(-16, -100, -16) = kDirt;
    ScriptedRandom top{84, 84};
    versteckeemerald(*state, top);
    EXPECT_EQ(state->emeraldy, 100);
    EXPECT_EQ(state->level.at(-16, 100, -16), kEmerald);
    EXPECT_EQ(state->level.at(-16, -100, -16), kDirt);

    state->level.clear();
    ScriptedRandom empty{199, 199};  // x = z = 99
    versteckeemerald(*state, empty);
    EXPECT_EQ(state->emeraldx, 99);
    EXPECT_EQ(state->emeraldz, 99);
    EXPECT_EQ(state->emeraldy, kNoEmeraldY);
    const int32_t* cells = state->level.data();
    for (std::size_t i = 0; i < kGridCells; ++i) ASSERT_EQ(cells[i], 0);
}

TEST(Versteckeemerald, AlwaysOnTopOfItsColumnInGeneratedWorlds) {
    auto state = MakeState();
    GameRandom rng(5);
    NewGame(*state, true, rng);
    for (int round = 0; round < 300; ++round) {
        versteckeemerald(*state, rng);
        int x = state->emeraldx, y = state->emeraldy, z = state->emeraldz;
        ASSERT_GE(std::abs(x), 16);
        ASSERT_GE(std::abs(z), 16);
        ASSERT_TRUE(x >= -100 && x <= 99 && z >= -100 && z <= 99);
        ASSERT_EQ(state->level.at(x, y, z), kEmerald);
        for (int above = y + 1; above <= kGridMax; ++above) ASSERT_EQ(state->level.at(x, above, z), kEmpty);
        state->level.at(x, y, z) = kDirt;  // put the block back for the next draw
    }
}

TEST(FinishRoundSetup, EachModeGetsItsEmeraldMaterialsAndOpponentStart) {
    struct Case {
        bool creative, fight, emerald;
        int32_t material;
    };
    for (Case c : {Case{false, false, true, 8}, Case{true, false, false, 0}, Case{false, true, false, 8}}) {
        SCOPED_TRACE(::testing::Message() << "creative " << c.creative << " fight " << c.fight);
        auto state = MakeState();
        state->modusformKreativCheckchecked = c.creative;
        state->modusformFightCheckchecked = c.fight;
        NoDraws none;
        NewGame(*state, false, none);
        BuildColumn(state->level, 20, 20, 0);
        state->emeraldy = 55;  // stale value of the last round
        state->gegnermodus = 4;
        state->gdistanzmode = 3;

        ScriptedRandom rng{120, 120};
        if (c.emerald) {
            FinishRoundSetup(*state, rng);
            EXPECT_EQ(state->emeraldy, 0);
            EXPECT_EQ(state->level.at(20, 0, 20), kEmerald);
        } else {
            FinishRoundSetup(*state, none);
            EXPECT_EQ(state->emeraldy, 55);
            EXPECT_EQ(state->level.at(20, 0, 20), kDirt);
        }
        EXPECT_EQ(state->material, c.material);
        EXPECT_EQ(state->gmaterial, c.material);
        EXPECT_EQ(state->gegnermodus, 0);
        EXPECT_EQ(state->gdistanzmode, 0);
    }
}

class NewWorldName : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/qw-newworld-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        folder_ = dir_ + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Touch(const std::string& path) { std::ofstream(path) << "x"; }

    std::string dir_, folder_;
};

TEST_F(NewWorldName, NumbersFollowTheNameWhileTaken) {
    EXPECT_EQ(NewWorldLevelName(folder_, "Neue Welt"), folder_ + "Neue Welt.lev");
    Touch(folder_ + "Neue Welt.lev");
    EXPECT_EQ(NewWorldLevelName(folder_, "Neue Welt"), folder_ + "Neue Welt2.lev");
    Touch(folder_ + "Neue Welt2.lev");
    EXPECT_EQ(NewWorldLevelName(folder_, "Neue Welt"), folder_ + "Neue Welt3.lev");
    // The plain name comes first again once its file is gone.
    fs::remove(folder_ + "Neue Welt.lev");
    EXPECT_EQ(NewWorldLevelName(folder_, "Neue Welt"), folder_ + "Neue Welt.lev");
}

TEST_F(NewWorldName, EmptyNameAndSlashes) {
    EXPECT_EQ(NewWorldLevelName(folder_, ""), folder_ + ".lev");
    EXPECT_EQ(NewWorldLevelName(folder_, "../../etc/x"), folder_ + ".._.._etc_x.lev");
    EXPECT_EQ(NewWorldLevelName(folder_, std::string("a\0b", 3)), folder_ + "a_b.lev");
}

TEST_F(NewWorldName, FoldersAndDanglingLinksTakeTheName) {
    fs::create_directory(folder_ + "Welt.lev");
    fs::create_symlink(dir_ + "/nowhere", folder_ + "Welt2.lev");
    EXPECT_EQ(NewWorldLevelName(folder_, "Welt"), folder_ + "Welt3.lev");
}

}  // namespace
}  // namespace qw
