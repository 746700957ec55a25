// Saves that fail at every write the world writer makes: whichever write it
// is and however it fails, the old file survives byte for byte, nothing is
// left beside it and the caller learns why; interrupted and short writes are
// no failures at all.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "world/WorldFileTestSupport.h"
#include "world/WorldFile.h"
#include "world/WorldGenerator.h"
#include "world/WorldSavePolicy.h"

namespace qw {
namespace {

using test::Bytes;

// How the k-th write call misbehaves; every other call writes normally.
enum class Fault { NoSpace, IoError, NoProgress, Interrupted, Short };

struct FaultyWrites {
    int failAt = -1;
    Fault fault = Fault::NoSpace;
    int calls = 0;

    WriteCall Hook() {
        return [this](int fd, const void* data, std::size_t size) -> ssize_t {
            const bool now = calls++ == failAt;
            if (!now) return ::write(fd, data, size);
            switch (fault) {
                case Fault::NoSpace: errno = ENOSPC; return -1;
                case Fault::IoError: errno = EIO; return -1;
                case Fault::NoProgress: return 0;
                case Fault::Interrupted: errno = EINTR; return -1;
                case Fault::Short: return ::write(fd, data, size > 1 ? size / 2 : size);
            }
            return -1;
        };
    }
};

class SaveFailure : public ::testing::Test {
protected:
    test::WorldTempDir dir;
    std::string path = dir.File("Burg.lev");
    TGameState world;  // the one being saved
    Bytes oldFile;
    Bytes cleanSave;  // what the world looks like saved without trouble
    int writes = 0;

    void SetUp() override {
        TGameState old;
        old.level.at(0, 0, 0) = 7;
        SaveWorld(old, path);
        oldFile = test::ReadFile(path);

        // A generated world with a noisy band, so the grid goes out in
        // several chunks and there are writes in the middle of it too.
        GameRandom rng(99);
        GenerateWorld(world.level, rng);
        for (int x = -100; x <= -40; ++x)
            for (int z = -100; z <= 100; ++z) world.level.at(x, 90, z) = rng.Random(2000000000);
        world.posx = 12.5;

        FaultyWrites counting;
        SaveWorld(world, dir.File("sauber.lev"), counting.Hook());
        cleanSave = test::ReadFile(dir.File("sauber.lev"));
        std::filesystem::remove(dir.File("sauber.lev"));
        writes = counting.calls;
    }
};

TEST_F(SaveFailure, EveryFailingWriteKeepsTheOldFileAndSaysWhy) {
    // Header, grid chunks, the block length filled in afterwards, figures.
    ASSERT_GE(writes, 6);
    const struct {
        Fault fault;
        int error;
    } kinds[] = {{Fault::NoSpace, ENOSPC}, {Fault::IoError, EIO}, {Fault::NoProgress, ENOSPC}};
    for (const auto& kind : kinds) {
        for (int k = 0; k < writes; ++k) {
            SCOPED_TRACE("write " + std::to_string(k) + " fails with " + std::strerror(kind.error));
            FaultyWrites faulty{k, kind.fault};
            try {
                SaveWorld(world, path, faulty.Hook());
                ADD_FAILURE() << "the save reported success";
            } catch (const std::runtime_error& e) {
                const std::string message = e.what();
                EXPECT_NE(message.find(std::strerror(kind.error)), std::string::npos) << message;
                EXPECT_NE(message.find(path), std::string::npos) << message;
            }
            EXPECT_EQ(faulty.calls, k + 1) << "writing went on after the failure";
            ASSERT_EQ(test::ReadFile(path), oldFile);
            ASSERT_EQ(dir.Entries(), std::vector<std::string>{"Burg.lev"});
        }
    }
}

TEST_F(SaveFailure, InterruptedOrShortWritesAnywhereStillSaveTheWholeWorld) {
    for (Fault fault : {Fault::Interrupted, Fault::Short}) {
        for (int k = 0; k < writes; ++k) {
            SCOPED_TRACE("write " + std::to_string(k) + (fault == Fault::Short ? " is short" : " is interrupted"));
            FaultyWrites faulty{k, fault};
            SaveWorld(world, path, faulty.Hook());
            ASSERT_EQ(test::ReadFile(path), cleanSave);
        }
    }
}

TEST_F(SaveFailure, CreativeSaveFailingAnywhereIsReportedAndCanBeTriedAgain) {
    TGameState game;
    test::ResetForLoad(game);
    game.modusformKreativCheckchecked = true;
    ASSERT_EQ(LoadWorld(game, path).status, WorldLoadStatus::Intact);
    std::memcpy(game.level.data(), world.level.data(), kGridBytes);
    const TWorldOrigin origin = game.levelorigin;

    for (int k = 0; k < writes; ++k) {
        SCOPED_TRACE("write " + std::to_string(k) + " fails");
        FaultyWrites faulty{k, Fault::NoSpace};
        const CreativeSaveResult result = SaveCreativeWorld(game, faulty.Hook());
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.starts_with("Die Welt konnte nicht gespeichert werden: ")) << result.error;
        EXPECT_TRUE(result.notice.empty());
        // The world still belongs to its file: a later save may replace it.
        EXPECT_EQ(game.levelname, path);
        EXPECT_EQ(game.levelorigin.file, origin.file);
        ASSERT_EQ(test::ReadFile(path), oldFile);
        ASSERT_EQ(dir.Entries(), std::vector<std::string>{"Burg.lev"});
    }
    const CreativeSaveResult retry = SaveCreativeWorld(game);
    EXPECT_TRUE(retry.ok) << retry.error;
    EXPECT_TRUE(retry.notice.empty()) << retry.notice;
    TGameState back;
    test::ResetForLoad(back);
    ASSERT_EQ(LoadWorld(back, path).status, WorldLoadStatus::Intact);
    EXPECT_EQ(std::memcmp(back.level.data(), world.level.data(), kGridBytes), 0);
}

}  // namespace
}  // namespace qw
