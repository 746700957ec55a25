#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "SimWorld.h"
#include "sim/Missiles.h"
#include "sim/Opponent.h"
#include "sim/Sighting.h"

namespace qw {
namespace {

class Opponent : public test::SimWorld {
protected:
    Opponent() {
        s.level.clear();
        s.emeraldx = 0;
        s.emeraldy = -101;
        s.emeraldz = 0;
    }
    // Turns until equal, recording each step.
    std::vector<double> TurnSteps(double from, double to) {
        s.gangle = from;
        s.zielwinkel = to;
        std::vector<double> steps;
        for (int i = 0; i < 100 && s.gangle != s.zielwinkel; ++i) {
            const double before = s.gangle;
            TurnTowardTarget(s);
            steps.push_back(s.gangle - before);
        }
        return steps;
    }
    // The opponent's missile burns out having measured `distance`.
    void ProbeEnds(double distance) {
        ASSERT_TRUE(s.gmissle);
        s.glastdist = distance;
        s.gmissle = false;
    }
    // Runs the search until it enters `state`; the frames it took.
    int SearchUntil(int32_t state) {
        int frames = 0;
        while (s.gegnermodus != state && frames < 1000) {
            SearchController(s, svc);
            ++frames;
        }
        return frames;
    }
};

TEST_F(Opponent, YawNormalisation) {
    EXPECT_EQ(NormalizeYaw(360), 360);
    EXPECT_EQ(NormalizeYaw(0), 360);
    EXPECT_EQ(NormalizeYaw(-10), 350);
    EXPECT_EQ(NormalizeYaw(725.5), 5.5);
    EXPECT_EQ(NormalizeYaw(-1070), 10);
    // A yaw from a damaged world cannot make the loops spin.
    for (const double huge : {1e20, -3.7e250, 1e300}) {
        const double y = NormalizeYaw(huge);
        EXPECT_GT(y, 0) << huge;
        EXPECT_LE(y, 360) << huge;
    }
}

TEST_F(Opponent, TurningStepsAndTheLongWayRound) {
    EXPECT_EQ(TurnSteps(100, 110), (std::vector<double>{8, 1, 1}));
    EXPECT_EQ(TurnSteps(100, 94), (std::vector<double>{-4, -1, -1}));
    EXPECT_EQ(TurnSteps(100, 113), (std::vector<double>{8, 4, 1}));
    // From 350 toward 10 it goes down through 342, 334, ... not across 360.
    std::vector<double> round(42, -8.0);  // down to 14
    round.insert(round.end(), {-1, -1, -1, -1});
    EXPECT_EQ(TurnSteps(350, 10), round);
}

TEST_F(Opponent, FightKeepsItsDistanceAndShoots) {
    s.modusformFightCheckchecked = true;
    // Player 1 at the origin; the opponent d units toward +z, facing it (yaw 360).
    struct Case {
        double d;
        double after;  // distance after the frame
        bool shoots;
    };
    for (const Case c : {Case{28, 28, true}, Case{32, 32, true}, Case{27.9, 30.1, false},
                         Case{32.1, 29.9, false}}) {
        Place(FirstFigure(s), 0, 100, 0);
        Place(SecondFigure(s), 0, 100, c.d);
        s.gangle = 360;
        s.gmissle = false;
        svc.scriptedRandom = {0};
        FightController(s, svc);
        EXPECT_DOUBLE_EQ(s.zielwinkel, 360) << c.d;
        EXPECT_DOUBLE_EQ(s.gangle, 360) << c.d;
        EXPECT_DOUBLE_EQ(s.zieldistanz, c.d);
        EXPECT_NEAR(WorldZ(SecondFigure(s)), c.after, 1e-9) << c.d;
        EXPECT_EQ(s.gmissle, c.shoots) << c.d;
    }
    // With a missile out it just stands.
    Place(SecondFigure(s), 0, 100, 30);
    s.gmissle = true;
    svc.soundCommands.clear();
    FightController(s, svc);
    EXPECT_DOUBLE_EQ(WorldZ(SecondFigure(s)), 30);
    EXPECT_TRUE(svc.soundCommands.empty());

    // While thrown back it turns but neither walks nor shoots.
    s.gmissle = false;
    s.gtjump = 3;
    s.gangle = 100;
    Place(SecondFigure(s), 0, 100, 10);
    FightController(s, svc);
    EXPECT_EQ(s.gangle, 108);
    EXPECT_DOUBLE_EQ(WorldZ(SecondFigure(s)), 10);
    EXPECT_FALSE(s.gmissle);
}

TEST_F(Opponent, FightTurnsItsFrontToPlayerOne) {
    s.modusformFightCheckchecked = true;
    Place(FirstFigure(s), 37, 100, -12);
    Place(SecondFigure(s), 5, 100, 8);
    s.gtjump = 1;  // turning only
    s.gangle = -725;
    for (int i = 0; i < 60; ++i) FightController(s, svc);
    const double a = s.gangle * std::numbers::pi / 180;
    const double toX = 37 - 5, toZ = -12 - 8;
    const double len = std::hypot(toX, toZ);
    // Within the last step of one degree.
    EXPECT_NEAR(std::sin(a), toX / len, 0.02);
    EXPECT_NEAR(-std::cos(a), toZ / len, 0.02);
}

TEST_F(Opponent, ComputerFightsBack) {
    s.modusformFightCheckchecked = true;
    s.leben = s.gleben = 10;
    Floor();
    Place(FirstFigure(s), 2, kStandY, 2);
    Place(SecondFigure(s), 2, kStandY, -38);
    s.gangle = 180;  // facing player 1 (+z)
    hooks.opponentController = OpponentController;
    int frames = 0;
    while (s.leben == 10 && frames < 200) {
        Frame();
        MissilePasses(s, svc, 0, {});
        ++frames;
    }
    // It walked up to 32 units, shot, and its fire took a life.
    EXPECT_EQ(s.leben, 9);
    EXPECT_EQ(s.tjump, 8);
    EXPECT_LE(s.zieldistanz, 32);
    EXPECT_GE(s.zieldistanz, 28);
    EXPECT_LT(frames, 40);
}

TEST_F(Opponent, SearchProbesFourWaysAndWalksTowardTheBest) {
    s.gangle = 180;
    svc.scriptedRandom = {10};
    EXPECT_EQ(SearchUntil(2), 1 + 3 + 1);  // choose, turn +8 +1 +1, see it is equal
    EXPECT_EQ(s.gangle, 190);
    const double distances[] = {12, 9, 9, 15};
    for (int probe = 0; probe < 4; ++probe) {
        SearchUntil(4);
        EXPECT_TRUE(s.gmissle);
        SearchController(s, svc);  // the probe still flies or burns
        EXPECT_EQ(s.gegnermodus, 4);
        ProbeEnds(distances[probe]);
        SearchController(s, svc);
        if (probe < 3) {
            EXPECT_EQ(s.gegnermodus, 0);
            EXPECT_EQ(s.gdistanzmode, probe + 1);
            SearchUntil(2);
            EXPECT_EQ(s.gangle, 190 + 90 * (probe + 1));  // 90 degrees on each time
        }
    }
    // The second direction wins the tie with the third.
    EXPECT_EQ(s.gegnermodus, 5);
    EXPECT_EQ(s.zielwinkel, 460 - 180);
    EXPECT_DOUBLE_EQ(s.zieldistanz, 4.5);
    SearchUntil(6);
    EXPECT_EQ(s.gangle, 280);

    Place(SecondFigure(s), 0, 100, 0);  // free to walk, facing 280 degrees
    const int walked = SearchUntil(0);
    EXPECT_EQ(walked, 23);
    EXPECT_EQ(s.gdistanzmode, 0);
    EXPECT_NEAR(std::hypot(WorldX(SecondFigure(s)), WorldZ(SecondFigure(s))), 23 * 2.2, 1e-6);

    // The next cycle starts at a random angle from where it stands.
    svc.scriptedRandom = {0};
    SearchController(s, svc);
    EXPECT_EQ(s.zielwinkel, 280);
}

TEST_F(Opponent, SearchWithRealProbeShots) {
    for (int x = -100; x <= 100; ++x)
        for (int z = -100; z <= 100; ++z) s.level.at(x, 0, z) = kDirt;
    s.emeraldx = 60, s.emeraldy = 1, s.emeraldz = -70;
    s.level.at(60, 1, -70) = kEmerald;
    Place(SecondFigure(s), 2, kStandY, 2);
    Place(FirstFigure(s), -200, kStandY, -200);
    s.gangle = 180;
    hooks.opponentController = OpponentController;
    const auto frame = [&] {
        Frame();
        MissilePasses(s, svc, 0, {});
        OpponentSighting(s, svc);
    };
    int frames = 0;
    while (s.gegnermodus != 5 && frames < 1000) {
        frame();
        ++frames;
    }
    ASSERT_EQ(s.gegnermodus, 5);
    // Four shots that each landed on the floor and burnt out.
    const double d[] = {s.gdistanz1, s.gdistanz2, s.gdistanz3, s.gdistanz4};
    EXPECT_DOUBLE_EQ(s.zieldistanz, *std::min_element(d, d + 4) / 2);
    for (double v : d) EXPECT_GT(v, 70);
    EXPECT_EQ(svc.soundCommands.size() - std::count(svc.soundCommands.begin(), svc.soundCommands.end(),
                                                     std::string("status musik mode")),
              8u);  // launch and bang, four times

    // Turned to the probe that came closest, which lies toward the emerald.
    while (s.gegnermodus != 6 && frames < 2000) {
        frame();
        ++frames;
    }
    const double a = s.gangle * std::numbers::pi / 180;
    const double toX = 4 * 60 + 2 - WorldX(SecondFigure(s)), toZ = 4 * -70 + 2 - WorldZ(SecondFigure(s));
    EXPECT_GT(std::sin(a) * toX - std::cos(a) * toZ, 0.7 * std::hypot(toX, toZ));
    while (s.gegnermodus != 0 && frames < 2000) {
        frame();
        ++frames;
    }
    EXPECT_EQ(s.gdistanzmode, 0);
    EXPECT_FALSE(s.emeraldfound);
}

TEST_F(Opponent, SearchChoosesTheNearestProbeTiesToTheEarlier) {
    struct Case {
        double d1, d2, d3, d4;
        double turnBack;
        double budget;
    };
    for (const Case c : {Case{5, 5, 5, 5, 270, 2.5}, Case{9, 8, 8, 8, 180, 4}, Case{9, 9, 3, 4, 90, 1.5},
                         Case{9, 9, 9, 1, 0, 0.5}}) {
        s.gegnermodus = 4;
        s.gdistanzmode = 3;
        s.gdistanz1 = c.d1, s.gdistanz2 = c.d2, s.gdistanz3 = c.d3;
        s.glastdist = c.d4;
        s.zielwinkel = 1000;
        SearchController(s, svc);
        EXPECT_EQ(s.zielwinkel, 1000 - c.turnBack);
        EXPECT_DOUBLE_EQ(s.zieldistanz, c.budget);
    }
}

TEST_F(Opponent, FractionalOrHugeYawStillReachesItsTarget) {
    // Half a degree off: whole steps alone would swing round the target for ever.
    for (const auto& [from, to] : {std::pair{180.5, 190.0}, std::pair{0.25, -89.5}}) {
        s.gegnermodus = 1;
        s.gangle = from;
        s.zielwinkel = to;
        EXPECT_LT(SearchUntil(2), 30) << from;
        EXPECT_EQ(s.gangle, to);
    }
    // So large that one degree is lost in rounding.
    for (const double from : {1e17, -3e18}) {
        s.gegnermodus = 0;
        s.gdistanzmode = 1;  // a plain 90-degree turn
        s.gangle = from;
        EXPECT_LT(SearchUntil(2), 30) << from;
        EXPECT_EQ(s.gangle, s.zielwinkel) << from;
    }
}

class Sighting : public Opponent {
protected:
    Sighting() {
        s.emeraldx = s.emeraldy = s.emeraldz = 0;
        s.level.at(0, 0, 0) = kEmerald;
    }
    // The opponent's eye at (x, 4, z): the height of the emerald's top (2, 4, 2).
    void EyeAt(double x, double z) { Place(SecondFigure(s), x, 4 - 9, z); }
};

TEST_F(Sighting, FreeLineBelowSixtyUnitsWins) {
    svc.cursorVisible = false;
    EyeAt(2, 2 + 59);
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
    EXPECT_TRUE(s.emeraldfound);
    EXPECT_EQ(s.playerwin, 1);
    EXPECT_TRUE(svc.cursorVisible);
    EXPECT_EQ(s.level.at(0, 0, 0), kEmpty);
    EXPECT_EQ(svc.soundCommands, std::vector<std::string>{"play gewonnen from 0"});

    // Once decided, nothing more happens.
    s.level.at(0, 0, 0) = kEmerald;
    svc.soundCommands.clear();
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
    EXPECT_EQ(s.level.at(0, 0, 0), kEmerald);
    EXPECT_TRUE(svc.soundCommands.empty());
}

TEST_F(Sighting, AtSixtyUnitsItOnlySees) {
    EyeAt(2, 2 + 60);
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
    EXPECT_FALSE(s.emeraldfound);
    EXPECT_EQ(s.level.at(0, 0, 0), kEmerald);
}

TEST_F(Sighting, BlocksOnTheLineHideTheEmerald) {
    EyeAt(2, 2 + 40);
    s.level.at(0, 1, 5) = kWood;  // the line runs at y = 4, through cells (0, 1, z)
    OpponentSighting(s, svc);
    EXPECT_FALSE(s.gegnersiehtemerald);
    EXPECT_FALSE(s.emeraldfound);

    s.level.at(0, 1, 5) = kEmpty;
    s.level.at(0, 0, 5) = kWood;  // beside the line
    s.level.at(0, 1, 11) = kWood;  // beyond the eye
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
}

TEST_F(Sighting, CellsComeFromTruncationWithoutWrap) {
    // Along x = -2: -2 / 4 truncates to cell 0, not -1.
    s.level.at(0, 0, 0) = kEmpty;
    s.emeraldx = -1;
    s.level.at(-1, 0, 0) = kEmerald;  // top centre (-2, 4, 2)
    s.emeraldfound = true;  // watch the line only
    Place(SecondFigure(s), -2, 4 - 9, 2 + 30);
    s.level.at(-1, 1, 3) = kWood;
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
    s.level.at(0, 1, 3) = kWood;
    OpponentSighting(s, svc);
    EXPECT_FALSE(s.gegnersiehtemerald);

    // From the top of the world (eye at y = 412): samples from y = 404 up
    // are outside the grid, and the line is not wrapped to the bottom cells.
    s.level.at(0, 1, 3) = kEmpty;
    Place(SecondFigure(s), -2, 403, 2);
    for (int y = -100; y <= -98; ++y) s.level.at(0, y, 0) = kWood;  // where 101 ... 103 would wrap to
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
    s.level.at(0, 50, 0) = kWood;
    OpponentSighting(s, svc);
    EXPECT_FALSE(s.gegnersiehtemerald);
}

TEST_F(Sighting, NothingToSeeWithoutAnEmeraldOrOutsideTheSearch) {
    s.emeraldy = -101;
    s.gegnersiehtemerald = true;
    EyeAt(2, 2);
    OpponentSighting(s, svc);
    EXPECT_FALSE(s.gegnersiehtemerald);
    EXPECT_FALSE(s.emeraldfound);
    EXPECT_EQ(s.level.at(0, 0, 0), kEmerald);

    s.emeraldy = 0;
    for (int mode = 0; mode < 3; ++mode) {
        s.multiplayer = mode == 0;
        s.modusformKreativCheckchecked = mode == 1;
        s.modusformFightCheckchecked = mode == 2;
        OpponentSighting(s, svc);
        EXPECT_FALSE(s.emeraldfound) << mode;
    }
}

TEST_F(Sighting, EyeOnTheTargetSeesIt) {
    EyeAt(2, 2);  // distance 0: the one sample is the eye
    OpponentSighting(s, svc);
    EXPECT_TRUE(s.gegnersiehtemerald);
    EXPECT_TRUE(s.emeraldfound);
}

}  // namespace
}  // namespace qw
