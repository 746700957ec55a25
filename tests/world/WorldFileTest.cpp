#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <limits>

#include "WorldFileTestSupport.h"
#include "world/WorldFile.h"

namespace qw {
namespace {

using test::Bytes;

const std::vector<double> kSomeFigures{12.5, -33.25, 7.0, 90.5, -45.0, 101.0, -8.0, 64.0, 270.0, 12.0};

// Codes no game writes but a file may hold, spread over the grid.
void FillWithOddCodes(TLevel& level) {
    level.at(-100, -100, -100) = std::numeric_limits<int32_t>::min();
    level.at(-100, -100, -99) = -1;
    level.at(0, 0, 0) = static_cast<int32_t>(kWorldMagic);
    level.at(100, 100, 100) = std::numeric_limits<int32_t>::max();
    level.at(3, -7, 42) = 102;
    for (int x = -100; x <= 100; x += 7)
        for (int z = -100; z <= 100; z += 3) level.at(x, x / 3, z) = x * 1000003 + z;
}

class WorldFileTest : public ::testing::Test {
protected:
    test::WorldTempDir dir;
    TGameState state;
    void SetUp() override { test::ResetForLoad(state); }
};

TEST_F(WorldFileTest, SavedWorldLoadsBackBitForBit) {
    TGameState saved;
    FillWithOddCodes(saved.level);
    const std::vector<double> tricky{-0.0, 5e-324, 1e300, -1e-300, M_PI, -20.0, 0.1, 1.0 / 3.0, 180.0, -90.0};
    for (std::size_t i = 0; i < 10; ++i) saved.*kFigureFields[i].field = tricky[i];
    const std::string path = dir.File("welt.lev");
    SaveWorld(saved, path);

    const Bytes file = test::ReadFile(path);
    ASSERT_GE(file.size(), 88u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x49, 0xDA, 0xD2, 0x25}));
    int32_t n;
    std::memcpy(&n, file.data() + 4, 4);
    EXPECT_EQ(int64_t{n} + 88, static_cast<int64_t>(file.size()));

    const WorldLoadReport report = LoadWorld(state, path);
    EXPECT_EQ(report.status, WorldLoadStatus::Intact) << report.problem;
    EXPECT_EQ(report.variant, WorldVariant::Compressed);
    EXPECT_EQ(std::memcmp(state.level.data(), saved.level.data(), kGridBytes), 0);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_TRUE(test::SameBits(state.*kFigureFields[i].field, tricky[i])) << kFigureFields[i].name;
    EXPECT_EQ(state.levelname, path);
    EXPECT_FALSE(state.levelorigin.readDamaged);
    EXPECT_TRUE(state.levelorigin.file.has_value());
}

TEST_F(WorldFileTest, RawAndCompressedFilesOfOneWorldLoadAlike) {
    TGameState world;
    FillWithOddCodes(world.level);
    Bytes raw = test::GridBytes(world.level);
    test::AppendDoubles(raw, kSomeFigures);
    ASSERT_EQ(static_cast<int64_t>(raw.size()), kRawWorldFileBytes);
    test::WriteFile(dir.File("raw.lev"), raw);
    const Bytes block = test::Compress(test::GridBytes(world.level));
    test::WriteFile(dir.File("packed.lev"),
                    test::CompressedFile(block, static_cast<int32_t>(block.size()), kSomeFigures));

    TGameState packed;
    test::ResetForLoad(packed);
    const WorldLoadReport rawReport = LoadWorld(state, dir.File("raw.lev"));
    const WorldLoadReport packedReport = LoadWorld(packed, dir.File("packed.lev"));
    EXPECT_EQ(rawReport.status, WorldLoadStatus::Intact);
    EXPECT_EQ(rawReport.variant, WorldVariant::Raw);
    EXPECT_EQ(packedReport.status, WorldLoadStatus::Intact);
    EXPECT_EQ(packedReport.variant, WorldVariant::Compressed);
    EXPECT_EQ(std::memcmp(state.level.data(), packed.level.data(), kGridBytes), 0);
    EXPECT_EQ(std::memcmp(state.level.data(), world.level.data(), kGridBytes), 0);
    EXPECT_EQ(test::Figures(state), kSomeFigures);
    EXPECT_EQ(test::Figures(packed), kSomeFigures);
}

TEST_F(WorldFileTest, ShortStreamFillsTheGridFromTheFirstCellOn) {
    Bytes cells;
    for (int32_t code : {5, 6, 7, 8}) test::Append(cells, &code, 4);
    cells.push_back(9);  // a lone byte is the low byte of the next cell
    const Bytes block = test::Compress(cells);
    test::WriteFile(dir.File("kurz.lev"), test::CompressedFile(block, static_cast<int32_t>(block.size()), kSomeFigures));

    const WorldLoadReport report = LoadWorld(state, dir.File("kurz.lev"));
    EXPECT_EQ(report.status, WorldLoadStatus::Intact);
    EXPECT_EQ(state.level.at(-100, -100, -100), 5);
    EXPECT_EQ(state.level.at(-100, -100, -97), 8);
    EXPECT_EQ(state.level.at(-100, -100, -96), 9);
    EXPECT_EQ(state.level.at(-100, -100, -95), 0);
    EXPECT_EQ(test::Figures(state), kSomeFigures);
}

// One grid is the most a stream may hold; a single byte over it is already
// "larger" and must not fill the grid (a later creative save would drop it).
TEST_F(WorldFileTest, StreamsAtAndOverTheSizeOfOneGrid) {
    TGameState world;
    FillWithOddCodes(world.level);
    const Bytes grid = test::GridBytes(world.level);
    struct Case {
        const char* name;
        std::size_t extra;  // bytes after one grid
    };
    for (const Case c : {Case{"exactly a grid", 0}, Case{"one byte more", 1}, Case{"many bytes more", 100000}}) {
        SCOPED_TRACE(c.name);
        test::ResetForLoad(state);
        Bytes cells = grid;
        cells.resize(grid.size() + c.extra, 0x11);
        const Bytes block = test::Compress(cells);
        test::WriteFile(dir.File("grenze.lev"),
                        test::CompressedFile(block, static_cast<int32_t>(block.size()), kSomeFigures));

        const WorldLoadReport report = LoadWorld(state, dir.File("grenze.lev"));
        if (c.extra == 0) {
            EXPECT_EQ(report.status, WorldLoadStatus::Intact) << report.problem;
            EXPECT_EQ(std::memcmp(state.level.data(), world.level.data(), kGridBytes), 0);
            EXPECT_FALSE(state.levelorigin.readDamaged);
        } else {
            EXPECT_EQ(report.status, WorldLoadStatus::Incomplete);
            EXPECT_TRUE(test::GridIsEmpty(state.level));
            EXPECT_TRUE(state.levelorigin.readDamaged);
        }
        // Either way the figures follow the block.
        EXPECT_EQ(test::Figures(state), kSomeFigures);
    }
}

TEST_F(WorldFileTest, TruncatedFilesKeepTheResetValuesForWhatIsMissing) {
    const std::vector<double> start = test::Figures(state);
    TGameState world;
    FillWithOddCodes(world.level);
    Bytes raw = test::GridBytes(world.level);
    test::AppendDoubles(raw, kSomeFigures);

    // Raw, cut inside the figure block: what is there is used, whole values
    // and the first bytes of a cut one, like the bytes of a cut grid cell.
    // A cut value keeps the rest of its bytes from before loading.
    Bytes cutFigures = test::GridBytes(world.level);
    const double posy = -33.3;  // every byte of it differs from those of the reset -20
    test::AppendDoubles(cutFigures, {kSomeFigures[0], posy});
    cutFigures.resize(cutFigures.size() - 3);
    test::WriteFile(dir.File("a.lev"), cutFigures);
    EXPECT_EQ(LoadWorld(state, dir.File("a.lev")).status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(std::memcmp(state.level.data(), world.level.data(), kGridBytes), 0);
    std::vector<double> expected = start;
    expected[0] = kSomeFigures[0];
    std::memcpy(&expected[1], &posy, 5);  // the low five bytes from the file, the top three of -20
    EXPECT_TRUE(test::SameBits(expected[1], state.posy)) << state.posy;
    EXPECT_NE(state.posy, start[1]);
    EXPECT_EQ(test::Figures(state), expected);

    // Raw, cut inside the grid: the cells present are read, the figures stay.
    test::ResetForLoad(state);
    test::WriteFile(dir.File("b.lev"), Bytes(raw.begin(), raw.begin() + 1000 * 4 + 2));
    EXPECT_EQ(LoadWorld(state, dir.File("b.lev")).status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(state.level.data()[999], world.level.data()[999]);
    EXPECT_EQ(state.level.data()[1000], world.level.data()[1000] & 0xFFFF);
    EXPECT_EQ(state.level.data()[1001], 0);
    EXPECT_EQ(test::Figures(state), start);

    // Compressed, cut inside the stream: what inflated so far is kept.
    test::ResetForLoad(state);
    const Bytes block = test::Compress(test::GridBytes(world.level));
    Bytes packed = test::CompressedFile(block, static_cast<int32_t>(block.size()), kSomeFigures);
    packed.resize(8 + block.size() / 2);
    test::WriteFile(dir.File("c.lev"), packed);
    EXPECT_EQ(LoadWorld(state, dir.File("c.lev")).status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(state.level.at(-100, -100, -100), world.level.at(-100, -100, -100));
    EXPECT_EQ(test::Figures(state), start);
    EXPECT_EQ(state.levelname, dir.File("c.lev"));
}

TEST_F(WorldFileTest, TinyFilesAreReadAsFarAsTheyGo) {
    // Three bytes cannot hold the magic: they are raw grid bytes.
    test::WriteFile(dir.File("drei.lev"), Bytes{0x01, 0x02, 0x03});
    EXPECT_EQ(LoadWorld(state, dir.File("drei.lev")).status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(state.level.at(-100, -100, -100), 0x030201);
    EXPECT_EQ(state.level.at(-100, -100, -99), 0);

    test::ResetForLoad(state);
    test::WriteFile(dir.File("leer.lev"), Bytes{});
    const WorldLoadReport empty = LoadWorld(state, dir.File("leer.lev"));
    EXPECT_EQ(empty.status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(state.levelname, dir.File("leer.lev"));
    EXPECT_TRUE(test::GridIsEmpty(state.level));

    // The magic and half a block length.
    test::WriteFile(dir.File("kopf.lev"), Bytes{0x49, 0xDA, 0xD2, 0x25, 0x10, 0x00});
    const WorldLoadReport head = LoadWorld(state, dir.File("kopf.lev"));
    EXPECT_EQ(head.status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(head.variant, WorldVariant::Compressed);
    EXPECT_TRUE(test::GridIsEmpty(state.level));
}

TEST_F(WorldFileTest, DamagedCompressedBlocksThrowAndLeaveTheGridEmpty) {
    const Bytes good = test::Compress(Bytes(4000, 0x22));
    Bytes incomplete(good.begin(), good.end() - 6);  // every byte of N present, stream unfinished
    Bytes badBlockType = good;
    badBlockType[2] |= 0x06;  // the first block's type 3, which deflate does not have
    struct Case {
        const char* name;
        Bytes file;
        std::string message;
    } cases[] = {
        // zlib never sees a block length below 1: the text is ours.
        {"length zero", test::CompressedFile({}, 0, kSomeFigures), "invalid compressed block length"},
        {"length negative", test::CompressedFile(good, -5, kSomeFigures), "invalid compressed block length"},
        {"garbage after the magic", test::CompressedFile(Bytes(100, 0xAB), 100, kSomeFigures),
         test::InflaterSays(Bytes(100, 0xAB))},
        {"bad block type", test::CompressedFile(badBlockType, static_cast<int32_t>(badBlockType.size()), kSomeFigures),
         test::InflaterSays(badBlockType)},
        {"stream cut short", test::CompressedFile(incomplete, static_cast<int32_t>(incomplete.size()), kSomeFigures),
         test::InflaterSays(incomplete)},
    };
    const std::vector<double> start = test::Figures(state);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ResetForLoad(state);
        state.levelname = "vorher";
        const std::string path = dir.File("kaputt.lev");
        test::WriteFile(path, c.file);
        try {
            LoadWorld(state, path);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            // The error box shows the inflater's own words, nothing of ours.
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_TRUE(test::GridIsEmpty(state.level));
        EXPECT_EQ(test::Figures(state), start);
        EXPECT_EQ(state.levelname, path);
        EXPECT_TRUE(state.levelorigin.readDamaged);
        EXPECT_FALSE(state.levelorigin.file.has_value());
    }
}

TEST_F(WorldFileTest, HugeBlockLengthReadsOnlyTheBytesThere) {
    const Bytes block = test::Compress(Bytes(400, 0x07));
    test::WriteFile(dir.File("riesig.lev"), test::CompressedFile(block, 0x7FFFFFFF, kSomeFigures));
    const std::vector<double> start = test::Figures(state);
    EXPECT_TRUE(test::FinishesWithin(test::kHangLimit, [&] {
        TGameState probe;
        test::ResetForLoad(probe);
        LoadWorld(probe, dir.File("riesig.lev"));
    }));
    // The stream ends inside the block; the figure block would lie 2 GB on.
    EXPECT_EQ(LoadWorld(state, dir.File("riesig.lev")).status, WorldLoadStatus::Incomplete);
    EXPECT_EQ(state.level.at(-100, -100, -100), 0x07070707);
    EXPECT_EQ(test::Figures(state), start);
}

long MaxResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(WorldFileTest, ZlibBombCostsNoMoreThanOneGrid) {
    const Bytes bomb = test::ZlibBomb(4);
    ASSERT_LT(bomb.size(), 8u << 20);
    test::WriteFile(dir.File("bombe.lev"), test::CompressedFile(bomb, static_cast<int32_t>(bomb.size()), kSomeFigures));

    EXPECT_TRUE(test::FinishesWithin(test::kHangLimit, [&] {
        TGameState probe;
        test::ResetForLoad(probe);
        const long before = MaxResidentKb();
        const WorldLoadReport report = LoadWorld(probe, dir.File("bombe.lev"));
        // The grid was there already; inflating adds buffers, not grids.
        if (MaxResidentKb() - before > 8 * 1024) _exit(2);
        if (report.status != WorldLoadStatus::Incomplete || !test::GridIsEmpty(probe.level)) _exit(3);
        if (test::Figures(probe) != kSomeFigures) _exit(4);
    }));
}

// What the round set-up gave them: the start values, and for the second
// figure's pitch, which a new round leaves alone, the pitch it had.
TEST_F(WorldFileTest, NonFiniteFigureValuesKeepTheirValuesFromBeforeLoading) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> stored{nan, -inf, 3.0, inf, 4.0, nan, 5.0, -inf, nan, inf};
    Bytes raw(kGridBytes, 0);
    test::AppendDoubles(raw, stored);
    test::WriteFile(dir.File("nan.lev"), raw);
    state.gangle2 = 33;  // left over from an earlier round

    const WorldLoadReport report = LoadWorld(state, dir.File("nan.lev"));
    EXPECT_EQ(report.status, WorldLoadStatus::Incomplete);
    EXPECT_NE(report.problem.find("posx"), std::string::npos) << report.problem;
    const std::vector<double> expected{0, -20, 3.0, 0, 4.0, 0, 5.0, 20, 180, 33};
    EXPECT_EQ(test::Figures(state), expected);
}

TEST_F(WorldFileTest, FifosAndFoldersAreNeverOpened) {
    const std::string fifo = dir.File("rohr.lev");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.File("x.lev");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    for (const std::string& path : {fifo, folder, dir.File("fehlt.lev")}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(test::FinishesWithin(test::kHangLimit, [&] {
            TGameState probe;
            if (LoadWorld(probe, path).status != WorldLoadStatus::NotOpened) _exit(2);
        }));
        state.levelname = "vorher";
        EXPECT_EQ(LoadWorld(state, path).status, WorldLoadStatus::NotOpened);
        EXPECT_EQ(state.levelname, "vorher");
        EXPECT_EQ(state.levelorigin.path, path);
        EXPECT_TRUE(state.levelorigin.readDamaged);
    }
}

class AtomicSaveTest : public WorldFileTest {
protected:
    std::string path = dir.File("welt.lev");
    Bytes oldFile;
    void SetUp() override {
        WorldFileTest::SetUp();
        TGameState old;
        FillWithOddCodes(old.level);
        SaveWorld(old, path);
        oldFile = test::ReadFile(path);
    }
};

TEST_F(AtomicSaveTest, FailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
    state.level.at(1, 2, 3) = 8;
    SaveWorld(state, dir.File("probe"));
    const std::size_t newSize = test::ReadFile(dir.File("probe")).size();
    std::filesystem::remove(dir.File("probe"));
    // Fail at the first write, half-way through the grid, and at the figures.
    for (std::size_t budget : {std::size_t{0}, newSize / 2, newSize - 40}) {
        SCOPED_TRACE(budget);
        std::size_t written = 0;
        bool temporaryNameChecked = false;
        WriteCall failing = [&](int fd, const void* data, std::size_t size) -> ssize_t {
            if (!temporaryNameChecked) {
                temporaryNameChecked = true;
                for (const std::string& name : dir.Entries()) {
                    if (name != "welt.lev") {
                        EXPECT_FALSE(name.ends_with(".lev")) << name;
                    }
                }
            }
            if (written >= budget) {
                errno = ENOSPC;
                return -1;
            }
            const std::size_t now = std::min(size, budget - written);
            written += now;
            return ::write(fd, data, now);
        };
        try {
            SaveWorld(state, path, failing);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(std::strerror(ENOSPC)), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::ReadFile(path), oldFile);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"welt.lev"});
    }
    SaveWorld(state, path);
    EXPECT_NE(test::ReadFile(path), oldFile);
}

TEST_F(AtomicSaveTest, SaveIntoAMissingFolderOrOverAFolderFails) {
    EXPECT_THROW(SaveWorld(state, dir.File("fehlt/welt.lev")), std::runtime_error);
    ASSERT_EQ(mkdir(dir.File("ordner.lev").c_str(), 0700), 0);
    EXPECT_THROW(SaveWorld(state, dir.File("ordner.lev")), std::runtime_error);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"ordner.lev", "welt.lev"}));
    EXPECT_EQ(test::ReadFile(path), oldFile);
}

// A folder that may be written but not read cannot be synced; the world is
// in place all the same and the save must say so.
TEST_F(AtomicSaveTest, AFolderThatCannotBeSyncedStillCountsAsSaved) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    const std::string folder = dir.File("nur-schreiben");
    ASSERT_EQ(mkdir(folder.c_str(), 0300), 0);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0711), 0);  // the user may pass through
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A plain user in its own folder with write and search rights only.
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        TGameState world;
        world.level.at(1, 2, 3) = 8;
        try {
            SaveWorld(world, folder + "/welt.lev");
        } catch (const std::exception&) {
            _exit(4);
        }
        struct stat saved {};
        _exit(stat((folder + "/welt.lev").c_str(), &saved) == 0 && saved.st_size > 0 ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace qw
