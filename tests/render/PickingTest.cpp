#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "RenderScene.h"
#include "render/GLState.h"
#include "render/Picking.h"
#include "render/ReferenceWorld.h"
#include "render/Views.h"
#include "support/FakeServices.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Frames of the 3D pass as the game runs them, reduced to what picking needs:
// camera, near point, cells, then picking and editing for each view.
class Picking : public ::testing::Test {
protected:
    test::OsMesaContext context{kWidth, kHeight};
    std::unique_ptr<TGameState> owner = std::make_unique<TGameState>();
    TGameState& g = *owner;
    test::FakeServices svc;
    EditHooks hooks;
    std::vector<TAimRay> launches;
    std::vector<std::optional<TWorldPoint>> nearPoints{2};

    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
        svc.geometry = {0, 0, kWidth, kHeight, kWidth, kHeight};
        hooks.launchMissile = [this](TGameState&, GameServices&, int, const TAimRay& ray) {
            launches.push_back(ray);
        };
        test::MakeSolidBlockTextures(g);
        BuildBlockLists(g);
    }

    void Frame() {
        InitGLState(g, kWidth, kHeight);
        TViewSteps steps;
        steps.nearPoint = [this](int view) { nearPoints[view] = ViewNearPoint(); };
        steps.cells = [this](int view) { DrawCellsReference(g, view); };
        steps.pickAndEdit = [this](int view) { PickAndEdit(g, svc, view, nearPoints[view], hooks); };
        DrawViews(g, kWidth, kHeight, steps);
    }
    void Click(int button) {
        svc.keysHeld.insert(button);
        Frame();
        svc.keysHeld.erase(button);
        Frame();
    }
};

TEST_F(Picking, BuildAndDigAtAFaceFromCloseBy) {
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kGranite;  // front face z = -4, six units ahead of the eye
    g.level.at(0, 2, -3) = kBrick;
    Frame();
    const auto picked = PickWorldPoint(kWidth / 2, kHeight / 2);
    ASSERT_TRUE(picked);
    EXPECT_NEAR(picked->z, -4, 0.01);
    EXPECT_NEAR(picked->x, 2, 0.05);
    EXPECT_NEAR(picked->y, 10, 0.05);

    g.material = 6;
    Click(VK_RBUTTON);
    EXPECT_EQ(g.level.at(0, 2, -1), 7);  // the empty cell in front of the face
    EXPECT_EQ(g.level.at(0, 2, -2), kGranite);

    // Now aiming at the new block's face (z = 0, two units ahead): dig it,
    // then the granite behind, one block per press however long it is held.
    svc.keysHeld.insert(VK_LBUTTON);
    Frame();
    Frame();
    Frame();
    EXPECT_EQ(g.level.at(0, 2, -1), kEmpty);
    EXPECT_EQ(g.level.at(0, 2, -2), kGranite);
    svc.keysHeld.erase(VK_LBUTTON);
    Frame();
    Click(VK_LBUTTON);
    EXPECT_EQ(g.level.at(0, 2, -2), kEmpty);
    EXPECT_EQ(g.level.at(0, 2, -3), kBrick);
}

TEST_F(Picking, SkyAtTheCentreEditsOnlyWithinReach) {
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    Click(VK_RBUTTON);  // along -z: the far point is 25 cells away
    for (int z = -30; z <= 0; ++z) EXPECT_EQ(g.level.at(0, 2, z), kEmpty) << z;

    // Along the diagonal the far point (100 units ahead) is 18 cells off in x and z.
    test::PlaceFirstPlayer(g, 2, 2, 2, 45, 0);
    Frame();
    const auto picked = PickWorldPoint(kWidth / 2, kHeight / 2);
    ASSERT_TRUE(picked);
    EXPECT_NEAR(picked->x, 2 + 100 * std::sqrt(0.5), 0.01);
    EXPECT_NEAR(picked->z, 2 - 100 * std::sqrt(0.5), 0.01);
    Click(VK_RBUTTON);
    EXPECT_EQ(g.level.at(18, 2, -18), 1);
}

TEST_F(Picking, PlacementOverTheBuildersFeetIsTakenBack) {
    for (int x = -3; x <= 3; ++x)
        for (int z = -3; z <= 3; ++z) g.level.at(x, 0, z) = kDirt;
    test::PlaceFirstPlayer(g, 2, 4.05, 2, 0, 90);  // looking straight down at the floor
    g.material = 1;
    Click(VK_RBUTTON);
    EXPECT_EQ(g.level.at(0, 1, 0), kEmpty);

    // Looking down at the floor ahead works.
    test::PlaceFirstPlayer(g, 2, 4.05, 2, 0, 60);
    Click(VK_RBUTTON);
    int placed = 0;
    for (int z = -3; z <= 0; ++z) placed += g.level.at(0, 1, z) == 2;
    EXPECT_EQ(placed, 1);
    EXPECT_EQ(g.level.at(0, 1, 0), kEmpty);
}

TEST_F(Picking, UpperPlayerDiggingTheEmeraldWinsTheSearch) {
    g.multiplayer = true;
    test::PlaceFirstPlayer(g, 42, 2, 2, 0, 0);   // looking at open sky
    test::PlaceSecondPlayer(g, 2, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kEmerald;
    svc.cursorVisible = false;
    svc.keysHeld.insert(VK_LBUTTON);  // player 1's dig: nothing in reach
    Click(VK_NUMPAD1);
    EXPECT_EQ(g.level.at(0, 2, -2), kEmpty);
    EXPECT_TRUE(g.emeraldfound);
    EXPECT_TRUE(g.quitmode);
    EXPECT_EQ(g.playerwin, 1);
    EXPECT_TRUE(svc.cursorVisible);
    EXPECT_EQ(svc.cursor, (TPoint{kWidth / 2, kHeight / 4}));
    EXPECT_EQ(svc.soundCommands, std::vector<std::string>{"play gewonnen from 0"});
}

TEST_F(Picking, LowerPlayerFindsTheEmeraldWithTheLeftButton) {
    g.multiplayer = true;
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    test::PlaceSecondPlayer(g, 42, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kEmerald;
    Click(VK_LBUTTON);
    EXPECT_EQ(g.level.at(0, 2, -2), kEmpty);
    EXPECT_EQ(g.playerwin, 0);
    EXPECT_TRUE(g.emeraldfound);
}

TEST_F(Picking, EmeraldIsAnOrdinaryBlockInAFight) {
    g.modusformFightCheckchecked = true;
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kEmerald;
    Click(VK_LBUTTON);
    EXPECT_EQ(g.level.at(0, 2, -2), kEmpty);
    EXPECT_FALSE(g.emeraldfound);
    EXPECT_FALSE(g.quitmode);
    EXPECT_TRUE(svc.soundCommands.empty());
}

TEST_F(Picking, WeaponLaunchesAlongTheAimRay) {
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kGranite;
    g.material = 8;
    Click(VK_LBUTTON);
    EXPECT_EQ(g.level.at(0, 2, -2), kGranite);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_NEAR(launches[0].nearPoint.z, 1.8, 1e-4);
    EXPECT_NEAR(launches[0].picked.z, -4, 0.01);
    Click(VK_RBUTTON);  // the weapon places nothing
    EXPECT_EQ(g.level.at(0, 2, -1), kEmpty);
}

TEST_F(Picking, NothingIsEditedWhilePaused) {
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kGranite;
    g.quitmode = true;
    svc.keysHeld.insert(VK_LBUTTON);
    Frame();
    EXPECT_EQ(g.level.at(0, 2, -2), kGranite);
    // The latch saw the press, so resuming with the button still held digs nothing.
    g.quitmode = false;
    Frame();
    EXPECT_EQ(g.level.at(0, 2, -2), kGranite);
}

TEST_F(Picking, CameraThatCannotBeInvertedSkipsTheEdit) {
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);
    g.level.at(0, 2, -2) = kGranite;
    Frame();
    glLoadIdentity();
    glScalef(0.0f, 0.0f, 0.0f);
    const auto nearPoint = ViewNearPoint();
    EXPECT_FALSE(nearPoint);
    svc.keysHeld.insert(VK_LBUTTON);
    PickAndEdit(g, svc, 0, nearPoint, hooks);
    EXPECT_TRUE(g.lmousepressed);  // the press is used up all the same
    EXPECT_EQ(g.level.at(0, 2, -2), kGranite);
}

}  // namespace
}  // namespace qw
