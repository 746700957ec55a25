// A shot as the player sees it: fired from the view centre, drawn as a fire
// box while it flies and burns, and a hole where its fire went out.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RenderScene.h"
#include "render/BlockLook.h"
#include "render/GLState.h"
#include "render/MissileView.h"
#include "render/Picking.h"
#include "render/ReferenceWorld.h"
#include "render/Views.h"
#include "sim/Missiles.h"
#include "support/FakeServices.h"
#include "support/OsMesaContext.h"

namespace qw {
namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr uint32_t kSky = 0x3333ff;

class MissilesGl : public ::testing::Test {
protected:
    test::OsMesaContext context{kWidth, kHeight};
    std::unique_ptr<TGameState> owner = std::make_unique<TGameState>();
    TGameState& g = *owner;
    test::FakeServices svc;
    EditHooks hooks;
    std::vector<std::optional<TWorldPoint>> nearPoints{2};

    void SetUp() override {
        ASSERT_TRUE(context.onSoftwareRenderer()) << context.renderer();
        svc.geometry = {0, 0, kWidth, kHeight, kWidth, kHeight};
        hooks.launchMissile = PlayerLaunch;
        test::MakeSolidBlockTextures(g);
        BuildBlockLists(g);
        g.emeraldy = -101;
        g.material = 8;
        g.leben = g.gleben = 10;
        test::PlaceSecondPlayer(g, 300, 300, 300, 0, 0);
    }

    // The 3D pass up to the missiles, as the game window runs it.
    void Frame() {
        InitGLState(g, kWidth, kHeight);
        TViewSteps steps;
        steps.nearPoint = [this](int view) { nearPoints[view] = ViewNearPoint(); };
        steps.cells = [this](int view) { DrawCellsReference(g, view); };
        steps.pickAndEdit = [this](int view) { PickAndEdit(g, svc, view, nearPoints[view], hooks); };
        steps.missiles = [this](int view) { DrawMissiles(g, svc, view); };
        DrawViews(g, kWidth, kHeight, steps);
        glFinish();
    }
    uint32_t Centre() { return test::PixelAt(context.Pixels(), kWidth, kWidth / 2, kHeight / 2); }
};

TEST_F(MissilesGl, ShotFliesBurnsAndLeavesAHole) {
    test::PlaceFirstPlayer(g, 2, 2, 2, 0, 0);  // eye at (2, 10, 2) looking along -z
    for (int x = -3; x <= 3; ++x)
        for (int y = 0; y <= 5; ++y) g.level.at(x, y, -8) = kBrick;  // face at z = -28
    Frame();
    EXPECT_EQ(Centre(), test::SolidColourOfSlot(BlockLookOfCode(kBrick)->side));

    svc.keysHeld.insert(VK_LBUTTON);
    Frame();  // fired, and already ten units on
    ASSERT_TRUE(g.missle);
    EXPECT_NEAR(g.misslez, 1.8 - 10, 1e-3);
    EXPECT_EQ(Centre(), test::SolidColourOfSlot(100));  // the fire box right ahead

    int frames = 1;
    while (!g.einschlag && frames < 10) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(g.level.at(0, 2, -8), kFire1);
    EXPECT_NE(Centre(), kSky);

    while (g.missle && frames < 30) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 3 + 10);
    EXPECT_EQ(g.level.at(0, 2, -8), kEmpty);
    Frame();  // the fire went out after this frame's cells were drawn
    EXPECT_EQ(Centre(), kSky);  // through the hole
    EXPECT_EQ(svc.soundCommands, (std::vector<std::string>{"play launch from 0", "play bomb from 0"}));
    EXPECT_EQ(g.leben, 10);
}

}  // namespace
}  // namespace qw
