#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "TopDownMap.h"
#include "tools/ToolRunner.h"
#include "world/WorldFile.h"
#include "world/WorldFileTestSupport.h"

namespace qw {
namespace {

constexpr std::chrono::seconds kHangLimit{30};

using test::Bytes;
using test::RunTool;
using test::ToolRun;

class WorldToolTest : public ::testing::Test {
protected:
    test::WorldTempDir dir;
    ToolRun Run(const std::vector<std::string>& args) { return RunTool(args, dir.Path()); }
};

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(WorldToolTest, HelpForTheToolAndEachCommand) {
    ToolRun all = Run({"--help"});
    EXPECT_EQ(all.status, 0);
    for (const char* command : {"generate", "info", "convert", "map"}) {
        EXPECT_NE(all.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        ToolRun one = Run({command, "--help"});
        EXPECT_EQ(one.status, 0) << command;
        EXPECT_TRUE(one.out.starts_with(std::string("Usage: quaderwelt-world ") + command)) << one.out;
        EXPECT_TRUE(one.err.empty());
    }
}

TEST_F(WorldToolTest, BadUsageShowsTheUsageAndExitsWithTwo) {
    const std::string world = dir.File("w.lev");
    const std::vector<std::vector<std::string>> bad{
        {},
        {"frobnicate"},
        {"info"},
        {"info", world, "more"},
        {"info", "--bogus", world},
        {"convert", world, dir.File("o.lev")},
        {"convert", "--raw", "--compressed", world, dir.File("o.lev")},
        {"generate", "--seed", "abc", world},
        {"generate", "--seed", "-1", world},
        {"generate", "--seed"},
        {"map", "--scale", "0", world, dir.File("m.png")},
        {"map", "--scale=99", world, dir.File("m.png")},
    };
    for (const auto& args : bad) {
        ToolRun run = Run(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("Usage: quaderwelt-world"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{});
}

TEST_F(WorldToolTest, GenerateMakesTheGamesNewWorld) {
    const std::string path = dir.File("neu.lev");
    ToolRun run = Run({"generate", "--seed", "7", path});
    ASSERT_EQ(run.status, 0) << run.err;

    TGameState expected;
    GameRandom rng(7);
    NewGame(expected, true, rng);
    TGameState loaded;
    const WorldLoadReport report = LoadWorld(loaded, path);
    EXPECT_EQ(report.status, WorldLoadStatus::Intact);
    EXPECT_EQ(report.variant, WorldVariant::Compressed);
    EXPECT_EQ(std::memcmp(loaded.level.data(), expected.level.data(), kGridBytes), 0);
    EXPECT_EQ(test::Figures(loaded), (std::vector<double>{0, -20, 0, 0, 0, 0, -20, 20, 180, 0}));

    ASSERT_EQ(Run({"generate", "--seed=7", dir.File("nochmal.lev")}).status, 0);
    EXPECT_EQ(test::ReadFile(dir.File("nochmal.lev")), test::ReadFile(path));
}

// A raw world with codes no game writes, and figures that need all digits.
Bytes OddRawWorld(TGameState& world) {
    world.level.at(-100, -100, -100) = std::numeric_limits<int32_t>::min();
    world.level.at(0, 0, 0) = static_cast<int32_t>(kWorldMagic);
    world.level.at(5, 5, 5) = 5;
    world.level.at(5, 6, 5) = 5;
    world.level.at(100, 100, 100) = -1;
    Bytes file = test::GridBytes(world.level);
    const std::vector<double> figures{0.1, -20, 1.0 / 3.0, -1e-300, 90, 5e-324, -0.0, 1e300, 180, 12.5};
    test::AppendDoubles(file, figures);
    for (std::size_t i = 0; i < 10; ++i) world.*kFigureFields[i].field = figures[i];
    return file;
}

TEST_F(WorldToolTest, InfoPrintsVariantFiguresAndCellCounts) {
    TGameState world;
    test::WriteFile(dir.File("roh.lev"), OddRawWorld(world));
    ToolRun run = Run({"info", dir.File("roh.lev")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "variant: raw\n"
              "posx: 0.1\nposy: -20\nposz: 0.3333333333333333\nangle: -1e-300\nangle2: 90\n"
              "gposx: 5e-324\ngposy: -0\ngposz: 1e+300\ngangle: 180\ngangle2: 12.5\n"
              "cells -2147483648: 1\ncells -1: 1\ncells 0: 8120596\ncells 5: 2\ncells 634575433: 1\n");

    // The common codes take another way through the counting.
    const Bytes block = test::Compress(Bytes{3, 0, 0, 0, 3, 0, 0, 0, 102, 0, 0, 0});
    test::WriteFile(dir.File("klein.lev"),
                    test::CompressedFile(block, static_cast<int32_t>(block.size()), std::vector<double>(10, 1.5)));
    run = Run({"info", dir.File("klein.lev")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("variant: compressed\nposx: 1.5\n"), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with("gangle2: 1.5\ncells 0: 8120598\ncells 3: 2\ncells 102: 1\n")) << run.out;
}

TEST_F(WorldToolTest, ConvertKeepsTheContentBitForBit) {
    TGameState world;
    const Bytes raw = OddRawWorld(world);
    test::WriteFile(dir.File("roh.lev"), raw);

    ASSERT_EQ(Run({"convert", "--compressed", dir.File("roh.lev"), dir.File("gepackt.lev")}).status, 0);
    TGameState packed;
    EXPECT_EQ(LoadWorld(packed, dir.File("gepackt.lev")).variant, WorldVariant::Compressed);
    EXPECT_EQ(std::memcmp(packed.level.data(), world.level.data(), kGridBytes), 0);

    ASSERT_EQ(Run({"convert", "--raw", dir.File("gepackt.lev"), dir.File("wieder.lev")}).status, 0);
    EXPECT_EQ(test::ReadFile(dir.File("wieder.lev")), raw);

    // Converting a file onto itself replaces it whole.
    ASSERT_EQ(Run({"convert", "--compressed", dir.File("wieder.lev"), dir.File("wieder.lev")}).status, 0);
    ToolRun a = Run({"info", dir.File("wieder.lev")});
    ToolRun b = Run({"info", dir.File("roh.lev")});
    EXPECT_EQ(a.out.substr(a.out.find('\n')), b.out.substr(b.out.find('\n')));
    EXPECT_TRUE(a.out.starts_with("variant: compressed\n"));
}

// A raw file whose first cell holds the magic would be read back as a
// compressed one, so that world can only be stored compressed.
TEST_F(WorldToolTest, ConvertToRawRefusesAWorldWhoseFirstCellReadsAsTheMagic) {
    TGameState world;
    world.level.at(-100, -100, -100) = static_cast<int32_t>(kWorldMagic);
    SaveWorld(world, dir.File("magisch.lev"));
    test::WriteFile(dir.File("alt.lev"), Bytes{1, 2, 3});

    for (const char* out : {"roh.lev", "alt.lev"}) {
        SCOPED_TRACE(out);
        const Bytes before = std::filesystem::exists(dir.File(out)) ? test::ReadFile(dir.File(out)) : Bytes{};
        ToolRun run = Run({"convert", "--raw", dir.File("magisch.lev"), dir.File(out)});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("magic"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
        if (before.empty()) {
            EXPECT_FALSE(std::filesystem::exists(dir.File(out)));
        } else {
            EXPECT_EQ(test::ReadFile(dir.File(out)), before);  // nothing written over it either
        }
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"alt.lev", "magisch.lev"}));

    // One value off is an ordinary first cell.
    world.level.at(-100, -100, -100) = static_cast<int32_t>(kWorldMagic + 1);
    SaveWorld(world, dir.File("fast.lev"));
    EXPECT_EQ(Run({"convert", "--raw", dir.File("fast.lev"), dir.File("roh.lev")}).status, 0);
    TGameState back;
    EXPECT_EQ(LoadWorld(back, dir.File("roh.lev")).variant, WorldVariant::Raw);
    EXPECT_EQ(back.level.at(-100, -100, -100), static_cast<int32_t>(kWorldMagic + 1));
}

// Reads a PNG with libpng's simple API as 8-bit RGB.
std::vector<unsigned char> ReadPngRgb(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

TEST_F(WorldToolTest, MapShowsTheTopmostCellOfEachColumn) {
    TGameState world;
    world.level.at(-100, -100, -100) = kSand;  // alone at the bottom: dark
    world.level.at(-99, 100, -100) = kSand;    // at the top: full light
    world.level.at(10, 0, -20) = kDirt;
    world.level.at(10, 50, -20) = kEmerald;  // above the dirt: the emerald shows
    SaveWorld(world, dir.File("w.lev"));
    ASSERT_EQ(Run({"map", "--scale", "1", dir.File("w.lev"), dir.File("w.png")}).status, 0);

    int width = 0, height = 0;
    const auto pixels = ReadPngRgb(dir.File("w.png"), width, height);
    ASSERT_EQ(width, 201);
    ASSERT_EQ(height, 201);
    auto pixel = [&](int x, int z) {
        const std::size_t i = 3 * (static_cast<std::size_t>(z + 100) * 201 + static_cast<std::size_t>(x + 100));
        return tool::Rgb{pixels[i], pixels[i + 1], pixels[i + 2]};
    };
    const tool::Rgb sand = tool::CellColour(kSand);
    EXPECT_EQ(pixel(-99, -100), sand);
    EXPECT_LT(pixel(-100, -100).r, sand.r / 2 + 1);
    EXPECT_GT(pixel(-100, -100).r, 0);
    const tool::Rgb emerald = pixel(10, -20);
    EXPECT_GT(emerald.g, emerald.r);
    EXPECT_EQ(pixel(0, 0), (tool::Rgb{0, 0, 0}));

    ASSERT_EQ(Run({"map", dir.File("w.lev"), dir.File("gross.png")}).status, 0);
    ReadPngRgb(dir.File("gross.png"), width, height);
    EXPECT_EQ(width, 402);
}

TEST_F(WorldToolTest, DamagedInputFailsQuicklyWithOneLine) {
    const std::vector<double> figures(10, 1.0);
    const Bytes good = test::Compress(Bytes(4000, 1));
    Bytes nan(kGridBytes, 0);
    test::AppendDoubles(nan, {std::nan(""), 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const Bytes bomb = test::ZlibBomb(2);
    const std::vector<std::pair<std::string, Bytes>> files{
        {"negativ.lev", test::CompressedFile(good, -1, figures)},
        {"null.lev", test::CompressedFile(good, 0, figures)},
        {"riesig.lev", test::CompressedFile(good, 0x7FFFFFFF, figures)},
        {"muell.lev", test::CompressedFile(Bytes(300, 0x5A), 300, figures)},
        {"drei.lev", Bytes{1, 2, 3}},
        {"nan.lev", nan},
        {"bombe.lev", test::CompressedFile(bomb, static_cast<int32_t>(bomb.size()), figures)},
    };
    std::vector<std::string> paths;
    for (const auto& [name, bytes] : files) {
        test::WriteFile(dir.File(name), bytes);
        paths.push_back(dir.File(name));
    }
    ASSERT_EQ(mkfifo(dir.File("rohr.lev").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(dir.File("x.lev").c_str(), 0700), 0);
    paths.push_back(dir.File("rohr.lev"));
    paths.push_back(dir.File("x.lev"));
    paths.push_back(dir.File("fehlt.lev"));

    for (const std::string& path : paths) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"info", path}, {"convert", "--raw", path, dir.File("aus.lev")},
              {"map", path, dir.File("aus.png")}}) {
            SCOPED_TRACE(::testing::PrintToString(args));
            // The limit only catches a hang or a runaway inflate; how fast
            // damaged files are refused is measured by the benchmarks.
            ToolRun run = RunTool(args, dir.Path(), kHangLimit);
            EXPECT_FALSE(run.timedOut);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(LineCount(run.err), 1) << run.err;
            EXPECT_TRUE(run.err.starts_with("quaderwelt-world: " + path + ": ")) << run.err;
            EXPECT_TRUE(run.out.empty());
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("aus.lev")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("aus.png")));
    EXPECT_NE(Run({"info", dir.File("bombe.lev")}).err.find("larger than a world"), std::string::npos);
}

TEST_F(WorldToolTest, WriteFailuresAreReported) {
    ASSERT_EQ(Run({"generate", "--seed", "1", dir.File("w.lev")}).status, 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"generate", dir.File("fehlt/w.lev")},
          {"convert", "--raw", dir.File("w.lev"), dir.File("fehlt/w.lev")},
          {"map", dir.File("w.lev"), dir.File("fehlt/w.png")}}) {
        ToolRun run = Run(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
    }
}

TEST(TopDownMap, SquaresAreShadedByHeight) {
    TGameState world;
    world.level.at(0, -100, 0) = kWood;
    world.level.at(1, 0, 0) = kWood;
    world.level.at(2, 100, 0) = kWood;
    world.level.at(3, 40, 0) = 77;  // unknown codes still show
    const tool::RgbImage image = tool::RenderTopDownMap(world.level, 3);
    ASSERT_EQ(image.width, 603);
    auto at = [&](int x, int z, int dx, int dy) { return image.At((x + 100) * 3 + dx, (z + 100) * 3 + dy); };
    EXPECT_EQ(at(2, 0, 0, 0), tool::CellColour(kWood));
    EXPECT_EQ(at(2, 0, 2, 2), tool::CellColour(kWood));
    EXPECT_LT(at(1, 0, 1, 1).r, at(2, 0, 1, 1).r);
    EXPECT_LT(at(0, 0, 1, 1).r, at(1, 0, 1, 1).r);
    EXPECT_NE(at(3, 0, 0, 0), (tool::Rgb{0, 0, 0}));
    EXPECT_EQ(at(4, 0, 0, 0), (tool::Rgb{0, 0, 0}));
    EXPECT_EQ(at(0, 1, 0, 0), (tool::Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace qw
