// World files of a generated world: SaveWorld (compressing, writing, syncing
// and renaming into place) and LoadWorld (reading and inflating into the
// grid), in turn, into a temporary folder. Also the size of the file.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchGame.h"
#include "Harness.h"
#include "world/RoundSetup.h"
#include "world/WorldFile.h"

QW_BENCH_CASE(WorldFile) {
    char folderTemplate[] = "/tmp/qw-bench.XXXXXX";
    if (!mkdtemp(folderTemplate)) throw std::runtime_error("no temporary folder");
    const std::string folder = folderTemplate;
    const std::string file = folder + "/Bench.lev";

    auto saved = std::make_unique<qw::TGameState>();
    auto loaded = std::make_unique<qw::TGameState>();
    qw::GameRandom rng(20240601);
    qw::bench::StartRound(*saved, rng, qw::bench::TPlayMode::Search, false);

    qw::bench::Samples saveMs, loadMs;
    const int runs = qw::bench::Runs(7);
    for (int run = 0; run < runs; ++run) {
        saveMs.Time([&] { qw::SaveWorld(*saved, file); });
        loadMs.Time([&] {
            qw::GameRandom reset(1);
            qw::NewGame(*loaded, false, reset);
            if (qw::LoadWorld(*loaded, file).status != qw::WorldLoadStatus::Intact)
                throw std::runtime_error("the saved world did not load intact");
        });
    }
    if (std::memcmp(saved->level.data(), loaded->level.data(), qw::kGridBytes) != 0)
        throw std::runtime_error("the loaded grid differs from the saved one");
    qw::bench::PrintFigure("SaveWorld of a generated world", saveMs.Summary());
    qw::bench::PrintFigure("LoadWorld (NewGame's reset included)", loadMs.Summary());
    std::printf("%-44s %9.2f MB\n", "world file size", std::filesystem::file_size(file) / 1048576.0);
    std::filesystem::remove_all(folder);
}
