// The character model on a real GL: which face shows where, which way up,
// and how the limbs swing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>

#include "FigureScene.h"
#include "SkinTestFiles.h"
#include "assets/CharacterModel.h"
#include "assets/Skin.h"

namespace qw {
namespace {

struct Box {
    const char* name;
    float x0, y0, z0, x1, y1, z1;
};
// The boxes as the figure is built, head centred on the origin.
constexpr Box kHead{"head", -1, -1, -1, 1, 1, 1};
constexpr Box kBody{"body", -1, -4, -0.5f, 1, -1, 0.5f};
constexpr Box kArmMinusX{"arm -x", -2, -4, -0.5f, -1, -1, 0.5f};
constexpr Box kArmPlusX{"arm +x", 1, -4, -0.5f, 2, -1, 0.5f};
constexpr Box kLegMinusX{"leg -x", -1, -7, -0.5f, 0, -4, 0.5f};
constexpr Box kLegPlusX{"leg +x", 0, -7, -0.5f, 1, -4, 0.5f};
constexpr Box kOverlay{"overlay", -1.125f, -1.125f, -1.125f, 1.125f, 1.125f, 1.125f};

struct Seen {
    Box box;
    int face;
};

class CharacterModel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scene.context().onSoftwareRenderer()) << scene.context().renderer();
        glGenTextures(static_cast<GLsizei>(g->texName.size()), g->texName.data());
    }

    void Draw(const test::TView& view) {
        scene.Begin(view);
        DrawCharacterModel(*g, kPlayerSkinBase);
    }

    void SetLimbs(double a) {
        g->armlinksrot = a;
        g->armrechtsrot = -a;
        g->beinlinksrot = -a;
        g->beinrechtsrot = a;
    }

    // The face of box that looks at the viewer shows offset face, with the
    // four quarters of its picture where an upright, unmirrored picture has
    // them.
    void ExpectFace(const test::TView& view, const Box& b, int face) {
        SCOPED_TRACE(b.name);
        const float lo[3] = {b.x0, b.y0, b.z0};
        const float hi[3] = {b.x1, b.y1, b.z1};
        float centre[3], half[3];
        for (int a = 0; a < 3; ++a) {
            centre[a] = (lo[a] + hi[a]) / 2;
            half[a] = (hi[a] - lo[a]) / 2;
        }
        float onFace[3];
        float across = 0, upward = 0;
        for (int a = 0; a < 3; ++a) {
            onFace[a] = centre[a] + view.back[a] * half[a];
            across += std::abs(view.right[a]) * half[a];
            upward += std::abs(view.up[a]) * half[a];
        }
        const struct {
            float r, u;
            int quadrant;
        } samples[] = {{-0.5f, 0.5f, test::kTopLeft},
                       {0.5f, 0.5f, test::kTopRight},
                       {-0.5f, -0.5f, test::kBottomLeft},
                       {0.5f, -0.5f, test::kBottomRight}};
        for (const auto& s : samples) {
            float p[3];
            for (int a = 0; a < 3; ++a) p[a] = onFace[a] + view.right[a] * s.r * across + view.up[a] * s.u * upward;
            const uint32_t rgb = scene.At(view, p[0], p[1], p[2]);
            EXPECT_EQ(test::FaceOf(rgb), face) << std::hex << rgb;
            EXPECT_EQ(test::QuadrantOf(rgb), s.quadrant) << std::hex << rgb;
        }
    }

    test::FigureScene scene{3, -8, 2, 20};
    std::unique_ptr<TGameState> g = std::make_unique<TGameState>();
};

TEST_F(CharacterModel, EveryBoxShowsItsFacesUprightFromOutside) {
    test::MakeFaceTextures(*g, kPlayerSkinBase, false);
    const struct {
        const char* name;
        test::TView view;
        std::vector<Seen> seen;
    } sides[] = {
        {"front", test::kFromFront,
         {{kHead, 0}, {kBody, 6}, {kArmMinusX, 12}, {kArmPlusX, 18}, {kLegMinusX, 24}, {kLegPlusX, 30}}},
        {"behind", test::kFromBehind,
         {{kHead, 5}, {kBody, 11}, {kArmMinusX, 17}, {kArmPlusX, 23}, {kLegMinusX, 29}, {kLegPlusX, 35}}},
        {"+x", test::kFromPlusX, {{kHead, 1}, {kArmPlusX, 19}, {kLegPlusX, 31}}},
        {"-x", test::kFromMinusX, {{kHead, 2}, {kArmMinusX, 14}, {kLegMinusX, 26}}},
        {"above", test::kFromAbove, {{kHead, 3}, {kArmMinusX, 15}, {kArmPlusX, 21}}},
        {"below", test::kFromBelow, {{kArmMinusX, 16}, {kArmPlusX, 22}, {kLegMinusX, 28}, {kLegPlusX, 34}}},
    };
    for (const auto& side : sides) {
        SCOPED_TRACE(side.name);
        Draw(side.view);
        for (const Seen& s : side.seen) ExpectFace(side.view, s.box, s.face);
    }

    // An opaque overlay hides the head on every side.
    test::MakeFaceTextures(*g, kPlayerSkinBase, true);
    const std::pair<test::TView, int> overlaySides[] = {{test::kFromFront, 36}, {test::kFromPlusX, 37},
                                                        {test::kFromMinusX, 38}, {test::kFromAbove, 39},
                                                        {test::kFromBelow, 40}, {test::kFromBehind, 41}};
    for (const auto& [view, face] : overlaySides) {
        Draw(view);
        ExpectFace(view, kOverlay, face);
    }
}

// Which box a pixel belongs to: 0 head, 1 body, 2 arm -x, 3 arm +x, 4 leg -x,
// 5 leg +x, 6 overlay; -1 for the sky.
int BoxAt(test::FigureScene& scene, const test::TView& view, float x, float y, float z) {
    const int face = test::FaceOf(scene.At(view, x, y, z));
    return face < 0 ? -1 : face / 6;
}

TEST_F(CharacterModel, LimbsHangStraightAtRestAndSwingOppositeAtFortyFive) {
    test::MakeFaceTextures(*g, kPlayerSkinBase, false);
    SetLimbs(0);
    Draw(test::kFromFront);
    EXPECT_EQ(BoxAt(scene, test::kFromFront, -0.5f, -6.95f, 0), 4);  // soles at y = -7
    EXPECT_EQ(BoxAt(scene, test::kFromFront, 0.5f, -6.95f, 0), 5);
    EXPECT_EQ(BoxAt(scene, test::kFromFront, -0.5f, -7.05f, 0), -1);
    EXPECT_EQ(BoxAt(scene, test::kFromFront, -1.5f, -3.95f, 0), 2);  // arms end beside the hips
    EXPECT_EQ(BoxAt(scene, test::kFromFront, 1.5f, -4.05f, 0), -1);
    EXPECT_EQ(BoxAt(scene, test::kFromFront, 2.05f, -2, 0), -1);
    EXPECT_EQ(BoxAt(scene, test::kFromFront, 1.95f, -2, 0), 3);

    // From the -x side +z is to the right. Points 2.5 units down each limb
    // from its pivot, for a swing by +45 degrees and by -45 degrees.
    const float along = 2.5f * static_cast<float>(std::numbers::sqrt2 / 2);
    const float armY = -1 - along, legY = -4 - along;
    SetLimbs(0);
    Draw(test::kFromMinusX);
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, armY, -along), -1);
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, legY, along), -1);

    SetLimbs(45);
    Draw(test::kFromMinusX);
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, armY, -along), 2);  // +45: the lower end towards -z
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, armY, along), 3);   // the other arm -45
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, legY, along), 4);   // the leg on the -x side -45
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, legY, -along), 5);
    // The head and the body stay.
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, 0.9f, 0.9f), 0);
    EXPECT_EQ(BoxAt(scene, test::kFromMinusX, 0, -3.5f, 0), 1);  // the arm at -x no longer hides the body

    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

// The skin's picture on the figure: the back of the head read from behind,
// and the arms as mirror images of each other.
TEST_F(CharacterModel, SkinPicturesAreUprightAndArmsMirrored) {
    test::TempDir dir("figureskin");
    test::WriteSkin(dir / "marked.png", 64, 32, [](int x, int y) {
        const bool left = x < 28, top = y < 12;
        if (x >= 24 && x < 32 && y >= 8 && y < 16) {  // head, back: four quarters
            if (top) return left ? test::TRgba{255, 0, 0, 255} : test::TRgba{0, 255, 0, 255};
            return left ? test::TRgba{255, 255, 0, 255} : test::TRgba{255, 255, 255, 255};
        }
        if (x == 44 && y >= 20) return test::TRgba{255, 0, 0, 255};  // arm, front: its left column
        if (x >= 32 && y < 16) return test::TRgba{0, 0, 0, 0};         // overlay: see-through
        return test::TRgba{0, 0, 0, 255};
    });
    OpenThePng(*g, (dir / "marked.png").string(), {});
    InitSkinTextures(*g, kPlayerSkinBase);

    Draw(test::kFromBehind);  // the viewer's left is the figure's +x
    EXPECT_EQ(scene.At(test::kFromBehind, 0.5f, 0.5f, -1), 0xff0000u);
    EXPECT_EQ(scene.At(test::kFromBehind, -0.5f, 0.5f, -1), 0x00ff00u);
    EXPECT_EQ(scene.At(test::kFromBehind, 0.5f, -0.5f, -1), 0xffff00u);
    EXPECT_EQ(scene.At(test::kFromBehind, -0.5f, -0.5f, -1), 0xffffffu);

    Draw(test::kFromFront);
    EXPECT_EQ(scene.At(test::kFromFront, -1.95f, -2, 0.5f), 0xff0000u);  // outer edge of the arm at -x
    EXPECT_EQ(scene.At(test::kFromFront, -1.05f, -2, 0.5f), 0x000000u);
    EXPECT_EQ(scene.At(test::kFromFront, 1.95f, -2, 0.5f), 0xff0000u);  // outer edge of the arm at +x
    EXPECT_EQ(scene.At(test::kFromFront, 1.05f, -2, 0.5f), 0x000000u);
}

// The shipped player skin, for looking at: set QUADERWELT_FIGURE_PNG to a
// file name to get the pictures of the front and the back.
TEST_F(CharacterModel, DefaultSkinDressesTheWholeFigure) {
    TSkinReport report{[](const std::string& t) { FAIL() << t; }, [](const std::string& m) { FAIL() << m; }};
    OpenThePng(*g, QUADERWELT_DATA_DIR "/spieler.png", report);
    InitSkinTextures(*g, kPlayerSkinBase);
    SetLimbs(30);
    for (const auto& [view, name] : {std::pair{test::kFromFront, "front"}, {test::kFromBehind, "back"}}) {
        Draw(view);
        // Every box is dressed: no sky inside the figure.
        for (const Box& b : {kHead, kBody, kLegMinusX}) {
            EXPECT_NE(scene.At(view, (b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2, 0), test::kSky) << b.name << " " << name;
        }
        if (const char* path = std::getenv("QUADERWELT_FIGURE_PNG")) {
            scene.context().SavePng((std::string(path) + "." + name + ".png").c_str());
        }
    }
}

}  // namespace
}  // namespace qw
