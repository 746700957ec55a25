#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "SimWorld.h"
#include "sim/Fire.h"
#include "sim/MissileRecord.h"
#include "sim/Missiles.h"

namespace qw {
namespace {

class Missiles : public test::SimWorld {
protected:
    std::vector<TWorldPoint> drawn;  // boxes of the last passes

    Missiles() {
        s.leben = s.gleben = 10;
        s.emeraldx = 0;
        s.emeraldy = -101;  // no emerald unless a test hides one
        s.emeraldz = 0;
    }

    // The missile step of every view of one frame.
    void Passes(int views = 1) {
        drawn.clear();
        for (int v = 0; v < views; ++v) {
            MissilePasses(s, svc, v, [this](double x, double y, double z) { drawn.push_back({x, y, z}); });
        }
    }
    // A missile that has just struck at cell (0, 10, 0), its fire laid.
    void Exploded(int figure) {
        const TMissile m = MissileOf(s, figure);
        m.exists = true;
        m.einschlag = true;
        Explode(s, svc, figure, {0, 10, 0});
        svc.soundCommands.clear();
    }
    int CountCells(int32_t code) const {
        const int32_t* c = s.level.data();
        return static_cast<int>(std::count(c, c + kGridCells, code));
    }
    // The centre of the one fire ball within `radius` cells of `around`:
    // its only cell with fire two cells away along all six axis directions.
    std::optional<TCellIndex> FireCentre(int32_t code, TCellIndex around = {}, int radius = 100) const {
        for (int x = around.x - radius; x <= around.x + radius; ++x)
            for (int y = around.y - radius; y <= around.y + radius; ++y)
                for (int z = around.z - radius; z <= around.z + radius; ++z) {
                    if (s.level.wrapped(x, y, z) != code) continue;
                    if (s.level.wrapped(x + 2, y, z) == code && s.level.wrapped(x - 2, y, z) == code &&
                        s.level.wrapped(x, y + 2, z) == code && s.level.wrapped(x, y - 2, z) == code &&
                        s.level.wrapped(x, y, z + 2) == code && s.level.wrapped(x, y, z - 2) == code) {
                        return TCellIndex{WrapIndex(x), WrapIndex(y), WrapIndex(z)};
                    }
                }
        return std::nullopt;
    }
    // The commands other than the music check's.
    std::vector<std::string> GameSounds() const {
        std::vector<std::string> out;
        for (const auto& c : svc.soundCommands) {
            if (c.rfind("play ", 0) == 0 && c != "play musik from 0") out.push_back(c);
        }
        return out;
    }
    // Puts a figure so that its fire flags see cell (0, 10, 0) at body height.
    void StandInTheFire(const TFigure& f) { Place(f, 2, 40, 2); }
};

TEST_F(Missiles, HorizontalShotStrikesAWallOnItsTwentyFourthSubStep) {
    // A wall whose face is at x = 24; the missile starts at x = 0 heading +x.
    for (int y = 5; y <= 9; ++y)
        for (int z = -2; z <= 2; ++z) s.level.at(6, y, z) = kBrick;
    s.emeraldx = 6;  // the emerald 20 cells along z from the wall
    s.emeraldy = 7;
    s.emeraldz = 20;
    s.level.at(6, 7, 20) = kEmerald;
    PlayerLaunch(s, svc, kFirstFigure, {{0, 30, 2}, {50, 30, 2}});
    ASSERT_TRUE(s.missle);

    Passes();  // the launch comes before view 0's pass: it moves at once
    EXPECT_DOUBLE_EQ(s.misslex, 10);
    EXPECT_FALSE(s.einschlag);
    Passes();
    EXPECT_DOUBLE_EQ(s.misslex, 20);
    EXPECT_FALSE(s.einschlag);
    Passes();
    EXPECT_DOUBLE_EQ(s.misslex, 24);  // 23.5 + 0.5 misses the face, 24.5 reaches it
    EXPECT_TRUE(s.einschlag);
    EXPECT_EQ(s.counteinschlag, 9);  // the same pass has counted down once
    EXPECT_DOUBLE_EQ(s.lastdist, 20);
    EXPECT_TRUE(s.showdist);
    EXPECT_EQ(s.level.at(6, 7, 0), kFire1);
    EXPECT_EQ(s.level.at(6, 7, 20), kEmerald);
    // Gravity: -0.01 per frame after the sub-steps, the struck frame included.
    EXPECT_NEAR(s.misslediry, -0.03, 1e-12);
    EXPECT_NEAR(s.missley, 30 - 0.1 - 0.2 * 0.4, 1e-12);  // 4 sub-steps at -0.02 in the third frame
    EXPECT_EQ(svc.soundCommands, (std::vector<std::string>{"play launch from 0", "play bomb from 0"}));

    // It is still drawn while it burns, and moves no more.
    Passes();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_DOUBLE_EQ(drawn[0].x, 24);
}

TEST_F(Missiles, SecondPlayersShotFirstMovesInTheNextFrame) {
    s.multiplayer = true;
    Passes(1);  // view 0 of this frame has run
    PlayerLaunch(s, svc, kSecondFigure, {{0, 300, 0}, {0, 300, -1}});
    MissilePasses(s, svc, 1, {});
    EXPECT_DOUBLE_EQ(s.gmisslez, 0);
    Passes(2);
    EXPECT_DOUBLE_EQ(s.gmisslez, -10);
    EXPECT_EQ(drawn.size(), 2u);  // drawn in both halves, moved once
}

TEST_F(Missiles, LaunchesThatDoNothing) {
    PlayerLaunch(s, svc, kFirstFigure, {{1, 2, 3}, {1, 2, 3}});  // no length: a failed depth read
    EXPECT_FALSE(s.missle);
    PlayerLaunch(s, svc, kFirstFigure, {{0, 0, 0}, {NAN, 0, 0}});
    EXPECT_FALSE(s.missle);
    EXPECT_TRUE(svc.soundCommands.empty());

    PlayerLaunch(s, svc, kFirstFigure, {{0, 0, 0}, {0, 0, 5}});
    PlayerLaunch(s, svc, kFirstFigure, {{9, 9, 9}, {0, 9, 9}});  // the first still exists
    EXPECT_DOUBLE_EQ(s.misslex, 0);
    EXPECT_DOUBLE_EQ(s.missledirz, 1);
    EXPECT_EQ(svc.soundCommands.size(), 1u);
}

TEST_F(Missiles, OpponentShootsFromAboveItsHeadSlopingDown) {
    Place(SecondFigure(s), 10, 20, 30);
    s.gangle = 90;  // facing +x
    s.modusformFightCheckchecked = true;
    svc.scriptedRandom = {0};
    s.geinschlag = true;  // left over from the last shot
    OpponentLaunch(s, svc);
    EXPECT_TRUE(s.gmissle);
    EXPECT_FALSE(s.geinschlag);
    EXPECT_DOUBLE_EQ(s.gmisslex, 10);
    EXPECT_DOUBLE_EQ(s.gmissley, 30);
    EXPECT_DOUBLE_EQ(s.gmisslez, 30);
    const double len = std::hypot(1.0, 0.3);
    EXPECT_NEAR(s.gmissledirx, 1 / len, 1e-12);
    EXPECT_NEAR(s.gmisslediry, -0.3 / len, 1e-12);
    EXPECT_NEAR(s.gmissledirz, 0, 1e-12);

    OpponentLaunch(s, svc);  // one missile at a time: no random number drawn either
    EXPECT_EQ(svc.soundCommands.size(), 1u);

    s.gmissle = false;
    s.modusformFightCheckchecked = false;  // probe shots drop less
    s.gangle = 180;                        // facing +z
    svc.scriptedRandom = {9};
    OpponentLaunch(s, svc);
    const double drop = 0.1 + 1.0 / 19;
    EXPECT_NEAR(s.gmisslediry, -drop / std::hypot(1.0, drop), 1e-12);
    EXPECT_NEAR(s.gmissledirz, 1 / std::hypot(1.0, drop), 1e-12);
}

TEST_F(Missiles, HitBoxesOfTheTwoFigures) {
    s.level.clear();
    Place(SecondFigure(s), 100, 40, 100);
    Place(FirstFigure(s), -100, 40, -100);
    const TMissile mine = MissileOf(s, kFirstFigure);
    const TMissile theirs = MissileOf(s, kSecondFigure);
    struct Case {
        const TMissile& m;
        int figure;
        double x, y, z;
        bool hits;
    };
    const Case cases[] = {
        {mine, kFirstFigure, 102.5, 44, 100, true},  // closed bounds: 2 + 0.5
        {mine, kFirstFigure, 102.51, 44, 100, false},
        {mine, kFirstFigure, 100, 44, 97.5, true},
        {mine, kFirstFigure, 100, 39.5, 100, true},  // feet to head: y 0 ... 8
        {mine, kFirstFigure, 100, 39.49, 100, false},
        {mine, kFirstFigure, 100, 48.5, 100, true},
        {mine, kFirstFigure, 100, 48.51, 100, false},
        {theirs, kSecondFigure, -100, 41.5, -100, true},  // player 1's box: y 2 ... 10
        {theirs, kSecondFigure, -100, 41.49, -100, false},
        {theirs, kSecondFigure, -100, 50.5, -100, true},
        {theirs, kSecondFigure, -100, 50.51, -100, false},
        {theirs, kSecondFigure, 100, 44, 100, false},  // not its own figure
    };
    for (const Case& c : cases) {
        s.level.clear();  // no fire left from the case before
        c.m.x = c.x;
        c.m.y = c.y;
        c.m.z = c.z;
        EXPECT_EQ(ImpactTest(s, svc, c.figure), c.hits) << c.x << " " << c.y << " " << c.z;
        EXPECT_EQ(c.m.einschlag, c.hits);
    }
    // A hit box strike explodes at the missile's own cell: Trunc(-100 / 4), Trunc(50.5 / 4).
    s.level.clear();
    theirs.x = -100;
    theirs.y = 50.5;
    theirs.z = -100;
    ASSERT_TRUE(ImpactTest(s, svc, kSecondFigure));
    EXPECT_EQ(FireCentre(kFire2), (TCellIndex{-25, 12, -25}));
}

// The missile is a cube of one unit: it strikes a cell whose box it touches,
// edge on edge, in any axis, from either side.
TEST_F(Missiles, ACellBoxTouchedEdgeOnEdgeIsStruck) {
    Place(FirstFigure(s), 300, 300, 300);  // hit boxes out of the way
    Place(SecondFigure(s), 300, 300, 300);
    struct Case {
        int figure;
        int axis;       // 0 x, 1 y, 2 z
        double along;   // the missile's coordinate on that axis
        bool hits;
    };
    // The block at cell 3 (box 12 ... 16) or -3 (box -12 ... -8) of the axis;
    // the missile is at 14 or -10, inside the box, on the other two.
    const Case cases[] = {
        {kFirstFigure, 0, 11.5, true},     {kFirstFigure, 0, 11.49, false}, {kFirstFigure, 0, 16.5, true},
        {kFirstFigure, 0, 16.51, false},   {kFirstFigure, 1, 11.5, true},   {kFirstFigure, 1, 16.51, false},
        {kFirstFigure, 2, 16.5, true},     {kFirstFigure, 2, 11.49, false}, {kFirstFigure, 0, -12.5, true},
        {kFirstFigure, 0, -7.5, true},     {kFirstFigure, 0, -7.49, false}, {kSecondFigure, 0, 11.5, true},
        {kSecondFigure, 2, 16.5, true},    {kSecondFigure, 1, 16.51, false}, {kSecondFigure, 0, -12.5, true},
        // The second figure's window is the three cells around its
        // truncated cell, -1 here: cell -3 is out of it.
        {kSecondFigure, 0, -7.5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "figure " << c.figure << " axis " << c.axis << " at " << c.along);
        s.level.clear();
        const int cell = c.along < 0 ? -3 : 3;
        const double inside = c.along < 0 ? -10 : 14;
        int index[3] = {inside < 0 ? -3 : 3, inside < 0 ? -3 : 3, inside < 0 ? -3 : 3};
        index[c.axis] = cell;
        s.level.at(index[0], index[1], index[2]) = kBrick;
        double at[3] = {inside, inside, inside};
        at[c.axis] = c.along;
        const TMissile m = MissileOf(s, c.figure);
        m.x = at[0];
        m.y = at[1];
        m.z = at[2];
        EXPECT_EQ(ImpactTest(s, svc, c.figure), c.hits);
    }
}

// The scan as the rule states it: 21 (or 3) cells in every axis, in order.
std::optional<TCellIndex> WholeWindowScan(const TLevel& level, const TWorldPoint& m, int64_t reach) {
    const int64_t cx = TruncTowardZero(m.x / 4), cy = TruncTowardZero(m.y / 4), cz = TruncTowardZero(m.z / 4);
    for (int64_t x = cx - reach; x <= cx + reach; ++x)
        for (int64_t y = cy - reach; y <= cy + reach; ++y)
            for (int64_t z = cz - reach; z <= cz + reach; ++z) {
                if (level.wrapped(x, y, z) == kEmpty) continue;
                if (m.x - 0.5 <= 4.0 * x + 4 && m.x + 0.5 >= 4.0 * x && m.y - 0.5 <= 4.0 * y + 4 &&
                    m.y + 0.5 >= 4.0 * y && m.z - 0.5 <= 4.0 * z + 4 && m.z + 0.5 >= 4.0 * z) {
                    return TCellIndex{WrapIndex(x), WrapIndex(y), WrapIndex(z)};
                }
            }
    return std::nullopt;
}

TEST_F(Missiles, CellScanStrikesTheCellTheWholeWindowWould) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> coord(-14, 14);
    std::uniform_int_distribution<int> fill(0, 1);
    Place(FirstFigure(s), 300, 300, 300);  // hit boxes out of the way
    s.level.clear();
    int strikes = 0;
    // Around the origin (negative coordinates truncate toward zero) and across the seam.
    for (const double offset : {0.0, 400.0}) {
        const int column = static_cast<int>(offset / 4);
        for (int trial = 0; trial < 150; ++trial) {
            for (int x = -5; x <= 5; ++x)
                for (int y = -5; y <= 5; ++y)
                    for (int z = -5; z <= 5; ++z) {
                        s.level.wrapped(x + column, y, z) = fill(rng) == 0 ? kGranite : kEmpty;
                    }
            const TWorldPoint m{offset + coord(rng), coord(rng), coord(rng)};
            for (int figure : {kFirstFigure, kSecondFigure}) {
                const auto expected = WholeWindowScan(s.level, m, figure == kFirstFigure ? 10 : 1);
                const TMissile missile = MissileOf(s, figure);
                missile.x = m.x;
                missile.y = m.y;
                missile.z = m.z;
                const int32_t fire = missile.fireCode;
                ASSERT_EQ(ImpactTest(s, svc, figure), expected.has_value());
                if (!expected) continue;
                ++strikes;
                EXPECT_EQ(FireCentre(fire, {WrapIndex(column), 0, 0}, 8), expected) << m.x << " " << m.y << " " << m.z;
                for (int x = -8; x <= 8; ++x)  // put the struck blocks back for the other figure
                    for (int y = -8; y <= 8; ++y)
                        for (int z = -8; z <= 8; ++z) {
                            int32_t& c = s.level.wrapped(x + column, y, z);
                            if (c == fire) c = kEmpty;
                        }
            }
        }
    }
    EXPECT_GT(strikes, 200);
    // The case the wider scan exists for: x = -3.9 lies in cell 0 by
    // truncation, yet its cube reaches into cell -2 ([-8, -4]).
    s.level.clear();
    s.level.at(-2, 0, 0) = kGranite;
    s.misslex = s.gmisslex = -3.9;
    s.missley = s.gmissley = 2;
    s.misslez = s.gmisslez = 2;
    EXPECT_FALSE(ImpactTest(s, svc, kSecondFigure));
    EXPECT_TRUE(ImpactTest(s, svc, kFirstFigure));
}

TEST_F(Missiles, EmeraldDistanceWrapsInXAndZButNotY) {
    s.emeraldx = -75;
    s.emeraldy = 0;
    s.emeraldz = 10;
    EXPECT_DOUBLE_EQ(EmeraldDistance(s, -75, 0, 10), 0);
    EXPECT_DOUBLE_EQ(EmeraldDistance(s, 75, 0, 10), 51);  // 150 apart, 51 across the seam
    EXPECT_DOUBLE_EQ(EmeraldDistance(s, 0, 0, 10), 75);
    EXPECT_DOUBLE_EQ(EmeraldDistance(s, 75, 0, -100), std::sqrt(51.0 * 51 + 91.0 * 91));
    s.emeraldy = -100;
    EXPECT_DOUBLE_EQ(EmeraldDistance(s, -75, 100, 10), 200);

    // The explosion reports it for its own figure.
    s.emeraldy = 0;
    s.level.at(-75, 0, 10) = kEmerald;
    Explode(s, svc, kSecondFigure, {75, 0, 10});
    EXPECT_DOUBLE_EQ(s.glastdist, 51);
    EXPECT_TRUE(s.gshowdist);
    EXPECT_FALSE(s.showdist);
    EXPECT_EQ(s.gcounteinschlag, 10);
}

TEST_F(Missiles, ExplosionLaysABallOfThirtyThreeCellsThatSparesTheEmerald) {
    s.level.clear();
    for (int i = -3; i <= 3; ++i)
        for (int j = -3; j <= 3; ++j)
            for (int k = -3; k <= 3; ++k) s.level.wrapped(100 + i, j, -100 + k) = kDirt;
    Explode(s, svc, kFirstFigure, {100, 0, -100});  // in a corner of the seams
    EXPECT_EQ(CountCells(kFire1), 33);
    for (int i = -3; i <= 3; ++i)
        for (int j = -3; j <= 3; ++j)
            for (int k = -3; k <= 3; ++k) {
                const bool inside = i * i + j * j + k * k <= 4;
                EXPECT_EQ(s.level.wrapped(100 + i, j, -100 + k), inside ? kFire1 : kDirt) << i << j << k;
            }
    EXPECT_EQ(svc.soundCommands, std::vector<std::string>{"play bomb from 0"});

    // Beside the emerald: the ball takes the other 32 cells.
    s.level.clear();
    s.level.at(1, 1, 0) = kEmerald;
    Explode(s, svc, kSecondFigure, {0, 0, 0});
    EXPECT_EQ(CountCells(kFire2), 32);
    EXPECT_EQ(s.level.at(1, 1, 0), kEmerald);
}

TEST_F(Missiles, FireBurnsTenFramesInOneViewAndFiveInTwo) {
    for (const int views : {1, 2}) {
        s.level.clear();
        s.multiplayer = views == 2;
        s.level.at(-100, 100, 37) = kFire1;  // from a world file: goes out with this fire too
        Exploded(kFirstFigure);
        int frames = 0;
        while (s.missle && frames < 100) {
            Passes(views);
            ++frames;
        }
        // Counting the frame of the explosion, whose pass already counts down.
        EXPECT_EQ(frames, views == 1 ? 1 + 10 : 1 + 5);
        EXPECT_EQ(CountCells(kFire1), 0);
        EXPECT_TRUE(s.einschlag);  // stays until the next launch
        Passes(views);
        EXPECT_TRUE(drawn.empty());
    }
}

TEST_F(Missiles, PauseStopsTheFlightButNotTheFire) {
    PlayerLaunch(s, svc, kFirstFigure, {{0, 300, 0}, {1, 300, 0}});
    Exploded(kSecondFigure);
    s.quitmode = true;
    for (int i = 0; i < 11; ++i) Passes();
    EXPECT_DOUBLE_EQ(s.misslex, 0);
    EXPECT_DOUBLE_EQ(s.misslediry, 0);
    EXPECT_FALSE(s.gmissle);
    EXPECT_EQ(CountCells(kFire2), 0);
}

TEST_F(Missiles, WhoLosesALifeWhenTheFireGoesOut) {
    struct Case {
        int fire;
        bool firstInside, secondInside;
        int leben, gleben;
    };
    const Case cases[] = {
        {kFirstFigure, true, true, 9, 10},    // a shared fire hurts player 1 only
        {kSecondFigure, true, true, 9, 10},
        {kFirstFigure, true, false, 9, 10},   // its own fire hurts
        {kFirstFigure, false, true, 10, 9},
        {kSecondFigure, false, true, 10, 9},  // the opponent's own fire
        {kSecondFigure, false, false, 10, 10},
    };
    for (const Case& c : cases) {
        s.level.clear();
        s.leben = s.gleben = 10;
        Exploded(c.fire);
        Place(FirstFigure(s), 300, 300, 300);
        Place(SecondFigure(s), -300, 300, -300);
        if (c.firstInside) StandInTheFire(FirstFigure(s));
        if (c.secondInside) StandInTheFire(SecondFigure(s));
        BodyTest(s, svc, FirstFigure(s));
        BodyTest(s, svc, SecondFigure(s));
        MissileOf(s, c.fire).counteinschlag = 0;
        FireCountdown(s, svc, c.fire);
        EXPECT_EQ(s.leben, c.leben);
        EXPECT_EQ(s.gleben, c.gleben);
        EXPECT_FALSE(MissileOf(s, c.fire).exists);
        // Outside a fight there is no knock-back and no sound.
        EXPECT_EQ(s.tjump + s.gtjump, 0);
        EXPECT_TRUE(svc.soundCommands.empty());
    }
}

TEST_F(Missiles, FightHitsThrowTheVictimAlongTheOtherMissile) {
    s.modusformFightCheckchecked = true;
    s.missledirx = 0.6, s.misslediry = -0.8, s.missledirz = 0;
    s.gmissledirx = 0, s.gmisslediry = 0.6, s.gmissledirz = -0.8;

    Exploded(kSecondFigure);
    StandInTheFire(SecondFigure(s));
    BodyTest(s, svc, SecondFigure(s));
    s.gcounteinschlag = 0;
    FireCountdown(s, svc, kSecondFigure);  // its own fire: thrown along player 1's missile
    EXPECT_EQ(s.gleben, 9);
    EXPECT_EQ(s.gtjump, 8);
    EXPECT_DOUBLE_EQ(s.gtdirx, 0.6);
    EXPECT_DOUBLE_EQ(s.gtdiry, -0.8);
    EXPECT_DOUBLE_EQ(s.gtdirz, 0);
    EXPECT_EQ(svc.soundCommands, std::vector<std::string>{"play btroffen from 0"});

    // The knock-back moves the world point by 5 times that direction.
    KnockBackStep(s, svc, SecondFigure(s));
    EXPECT_DOUBLE_EQ(-s.gposx, 2 + 3);

    s.level.clear();
    svc.soundCommands.clear();
    Exploded(kFirstFigure);
    StandInTheFire(FirstFigure(s));
    BodyTest(s, svc, FirstFigure(s));
    s.counteinschlag = 0;
    FireCountdown(s, svc, kFirstFigure);
    EXPECT_EQ(s.leben, 9);
    EXPECT_EQ(s.tjump, 8);
    EXPECT_DOUBLE_EQ(s.tdiry, 0.6);
    EXPECT_DOUBLE_EQ(s.tdirz, -0.8);
    EXPECT_EQ(svc.soundCommands, std::vector<std::string>{"play troffen from 0"});
}

TEST_F(Missiles, LastLifeEndsTheFightAndLaterHitsStillCount) {
    s.modusformFightCheckchecked = true;
    s.leben = 1;
    Exploded(kSecondFigure);
    StandInTheFire(FirstFigure(s));
    BodyTest(s, svc, FirstFigure(s));
    s.gcounteinschlag = 0;
    FireCountdown(s, svc, kSecondFigure);
    EXPECT_EQ(s.leben, 0);
    EXPECT_TRUE(s.emeraldfound);
    EXPECT_TRUE(s.quitmode);
    EXPECT_EQ(s.playerwin, 1);
    EXPECT_EQ(svc.soundCommands, std::vector<std::string>{"play gewonnen from 0"});

    // A fire laid before the end still burns out while paused and takes a
    // life; lives go below 0, with knock-back but no sound or new winner.
    svc.soundCommands.clear();
    s.tjump = 0;
    Exploded(kFirstFigure);
    BodyTest(s, svc, FirstFigure(s));
    for (int i = 0; i < 11; ++i) Passes();
    EXPECT_EQ(s.leben, -1);
    EXPECT_EQ(s.tjump, 8);
    EXPECT_EQ(s.playerwin, 1);
    EXPECT_TRUE(svc.soundCommands.empty());

    // The opponent's last life gives the round to player 1.
    s.emeraldfound = s.quitmode = false;
    s.level.clear();
    s.gleben = 1;
    Exploded(kFirstFigure);
    StandInTheFire(SecondFigure(s));
    Place(FirstFigure(s), 300, 300, 300);
    BodyTest(s, svc, FirstFigure(s));
    BodyTest(s, svc, SecondFigure(s));
    s.counteinschlag = 0;
    FireCountdown(s, svc, kFirstFigure);
    EXPECT_EQ(s.gleben, 0);
    EXPECT_EQ(s.playerwin, 0);
    EXPECT_TRUE(s.emeraldfound);
}

TEST_F(Missiles, OwnShotAtTheOpponentEndsInAHitWithEverySound) {
    // Single-player fight: player 1 shoots straight at the opponent 30 units away.
    s.modusformFightCheckchecked = true;
    Floor();
    Place(FirstFigure(s), 2, kStandY, 30);
    Place(SecondFigure(s), 2, kStandY, 0);
    svc.scriptedRandom.assign(100, 1);  // the opponent does not hop out of the line
    PlayerLaunch(s, svc, kFirstFigure, {{2, 10, 30}, {2, 8, 0}});
    int frames = 0;
    while (s.missle && frames < 50) {
        Frame();
        Passes();
        ++frames;
    }
    EXPECT_EQ(s.gleben, 9);
    EXPECT_EQ(s.leben, 10);
    EXPECT_GT(s.gtjump, 0);
    EXPECT_EQ(GameSounds(),
              (std::vector<std::string>{"play launch from 0", "play bomb from 0", "play btroffen from 0"}));
}

TEST_F(Missiles, EndlessFallNeverHangsAndKeepsItsCost) {
    s.level.clear();  // an empty column all the way round
    PlayerLaunch(s, svc, kFirstFigure, {{2, 0, 2}, {2, -1, 2}});
    const auto timeFrames = [&](int n) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < n; ++i) Passes();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double early = timeFrames(2000);
    // Where it would be after four hours of frames, and far beyond.
    for (const double frames : {720000.0, 1e9, 1e15}) {
        s.misslediry = -1 - 0.01 * frames;
        s.missley = -0.05 * frames * frames;
        const double late = timeFrames(2000);
        EXPECT_LT(late, 3 * early + 0.05) << frames;
        EXPECT_TRUE(s.missle);
        EXPECT_FALSE(s.einschlag);
    }
    // Any block anywhere in the column is met, however far it has fallen.
    s.level.at(0, 37, 0) = kSand;
    s.missley = 4.0 * (37 - 201 * 1000000000LL) + 2;
    s.misslediry = -0.001;
    Passes();
    EXPECT_TRUE(s.einschlag);
    EXPECT_EQ(FireCentre(kFire1), (TCellIndex{0, 37, 0}));

    // Beyond the range of 64-bit cell numbers nothing overflows and nothing is struck.
    s.einschlag = false;
    s.missley = -1e300;
    s.misslediry = -1e299;
    Passes();
    EXPECT_TRUE(s.missle);
}

}  // namespace
}  // namespace qw
