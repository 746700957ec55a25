#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "SimWorld.h"
#include "sim/BlockEditing.h"

namespace qw {
namespace {

// The scan as the rule states it: every cell of the 41-cell cube in order.
std::optional<TCellIndex> FullScan(const TLevel& level, int64_t cx, int64_t cy, int64_t cz,
                                   const TWorldPoint& q, bool wantEmpty) {
    for (int64_t y = cy - 20; y <= cy + 20; ++y)
        for (int64_t x = cx - 20; x <= cx + 20; ++x)
            for (int64_t z = cz - 20; z <= cz + 20; ++z) {
                if (!(4.0 * x <= q.x && q.x <= 4.0 * x + 4 && 4.0 * y <= q.y && q.y <= 4.0 * y + 4 &&
                      4.0 * z <= q.z && q.z <= 4.0 * z + 4)) {
                    continue;
                }
                if ((level.wrapped(x, y, z) == kEmpty) != wantEmpty) continue;
                return TCellIndex{WrapIndex(x), WrapIndex(y), WrapIndex(z)};
            }
    return std::nullopt;
}

class BlockEditing : public test::SimWorld {
protected:
    std::vector<int> launches;
    EditHooks edit;

    BlockEditing() {
        edit.launchMissile = [this](TGameState&, GameServices&, int figure, const TAimRay&) {
            launches.push_back(figure);
        };
        // Player 1 at world (2, 10, 2) (view cell 0, 2, 0), looking along -z.
        Place(FirstFigure(s), 2, 10, 2);
    }
    // A ray toward -z that ends at z = zEnd, at the given x and y.
    static TAimRay AlongMinusZ(double x, double y, double zEnd) { return {{x, y, zEnd + 10}, {x, y, zEnd}}; }
};

TEST_F(BlockEditing, ScanFindsTheSameCellAsTheFullScan) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> cellOf(-3, 3), codeOf(0, 2);
    for (int x = -3; x <= 3; ++x)
        for (int y = -3; y <= 3; ++y)
            for (int z = -3; z <= 3; ++z) s.level.wrapped(x, y, z) = codeOf(rng) == 0 ? kBrick : kEmpty;
    for (int x = 98; x <= 103; ++x)
        for (int z = -2; z <= 2; ++z) s.level.wrapped(x, 0, z) = (x + z) % 2 ? kSand : kEmpty;
    // Points on faces, edges and corners (multiples of 4 and 2), and off them.
    std::uniform_int_distribution<int> quarter(-48, 48);
    int hits = 0;
    for (int i = 0; i < 800; ++i) {
        const double scale = i % 3 == 0 ? 1.0 : (i % 3 == 1 ? 0.5 : 0.37);
        TWorldPoint q{quarter(rng) * scale, quarter(rng) * scale, quarter(rng) * scale};
        int64_t cx = cellOf(rng), cy = cellOf(rng), cz = cellOf(rng);
        if (i % 5 == 0) {  // across the seam, and views at the edge of the range
            q.x += 400;
            cx = 100;
        }
        if (i % 7 == 0) cy = WrapIndex(static_cast<int64_t>(q.y / 4) + 20);
        for (bool wantEmpty : {true, false}) {
            const auto fast = FindEditCell(s.level, cx, cy, cz, q, wantEmpty);
            const auto full = FullScan(s.level, cx, cy, cz, q, wantEmpty);
            ASSERT_EQ(fast.has_value(), full.has_value()) << q.x << " " << q.y << " " << q.z;
            if (fast) {
                EXPECT_EQ(*fast, *full);
                ++hits;
            }
        }
    }
    EXPECT_GT(hits, 200);
    EXPECT_FALSE(FindEditCell(s.level, 0, 0, 0, {1e308, 0, 0}, true));
    EXPECT_FALSE(FindEditCell(s.level, 0, 0, 0, {NAN, 0, 0}, true));
}

TEST_F(BlockEditing, CornerSharedByEmptyCellsGoesToTheLowestIndices) {
    const auto c = FindEditCell(s.level, 0, 0, 0, {4, 4, 4}, true);
    ASSERT_TRUE(c);
    EXPECT_EQ(*c, (TCellIndex{0, 0, 0}));
    s.level.at(0, 0, 0) = kDirt;
    EXPECT_EQ(*FindEditCell(s.level, 0, 0, 0, {4, 4, 4}, true), (TCellIndex{0, 0, 1}));
}

TEST_F(BlockEditing, PlaceFillsTheEmptyCellInFrontOfTheFace) {
    s.material = 2;
    s.level.at(0, 2, -5) = kGranite;  // its front face is z = -16
    PlaceBlock(s, svc, 0, AlongMinusZ(2, 10, -16));
    EXPECT_EQ(s.level.at(0, 2, -4), 3);  // k = 0 on the shared face

    // The picked point just inside the block: k = 1 steps out of it.
    s.level.at(0, 2, -4) = kEmpty;
    PlaceBlock(s, svc, 0, AlongMinusZ(2, 10, -16.3));
    EXPECT_EQ(s.level.at(0, 2, -4), 3);
}

TEST_F(BlockEditing, PlaceNeverWithTheWeaponOrWhilePaused) {
    s.material = 8;
    PlaceBlock(s, svc, 0, AlongMinusZ(2, 10, -16));
    s.material = 0;
    s.quitmode = true;
    PlaceBlock(s, svc, 0, AlongMinusZ(2, 10, -16));
    EXPECT_EQ(s.level.at(0, 2, -4), kEmpty);
}

TEST_F(BlockEditing, PlacementThatWouldTrapThePlayerIsTakenBack) {
    s.multiplayer = true;
    const TFigure other = SecondFigure(s);
    Place(other, 2, 10, 2);  // body in cells (0, 2..4, 0)
    s.gmaterial = 4;
    s.level.at(0, 2, -1) = kBrick;
    // Aimed at the brick's far face from inside the body's cell.
    PlaceBlock(s, svc, 1, {{2, 10, 3}, {2, 10, 0}});
    EXPECT_EQ(s.level.at(0, 2, 0), kEmpty);
    EXPECT_TRUE(s.gstecktefest);  // the latest body test saw the block
}

TEST_F(BlockEditing, ZeroLengthRayEditsNothing) {
    s.level.at(0, 2, -5) = kGranite;
    const TAimRay empty{{2, 10, -16}, {2, 10, -16}};
    PlaceBlock(s, svc, 0, empty);
    RemoveBlockOrFire(s, svc, 0, empty, edit);
    s.material = 8;
    RemoveBlockOrFire(s, svc, 0, empty, edit);
    EXPECT_EQ(s.level.at(0, 2, -5), kGranite);
    EXPECT_EQ(s.level.at(0, 2, -4), kEmpty);
    EXPECT_TRUE(launches.empty());
}

TEST_F(BlockEditing, RemoveDigsTheBlockBehindThePickedPoint) {
    s.level.at(0, 2, -5) = kGranite;
    RemoveBlockOrFire(s, svc, 0, AlongMinusZ(2, 10, -15.7), edit);  // just in front: k = 1
    EXPECT_EQ(s.level.at(0, 2, -5), kEmpty);
    // Never more than 4 units beyond the picked point.
    s.level.at(0, 2, -6) = kGranite;  // front face z = -20
    RemoveBlockOrFire(s, svc, 0, AlongMinusZ(2, 10, -15.9), edit);
    EXPECT_EQ(s.level.at(0, 2, -6), kGranite);
    RemoveBlockOrFire(s, svc, 0, AlongMinusZ(2, 10, -16.1), edit);
    EXPECT_EQ(s.level.at(0, 2, -6), kEmpty);
}

TEST_F(BlockEditing, WeaponFiresInsteadOfDigging) {
    s.level.at(0, 2, -5) = kGranite;
    s.material = 8;
    RemoveBlockOrFire(s, svc, 0, AlongMinusZ(2, 10, -16), edit);
    EXPECT_EQ(launches, std::vector<int>{0});
    EXPECT_EQ(s.level.at(0, 2, -5), kGranite);
    s.modusformKreativCheckchecked = true;  // no weapon there: the button digs
    RemoveBlockOrFire(s, svc, 0, AlongMinusZ(2, 10, -16), edit);
    EXPECT_EQ(s.level.at(0, 2, -5), kEmpty);
    EXPECT_EQ(launches.size(), 1u);
}

}  // namespace
}  // namespace qw
