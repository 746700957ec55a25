#include "world/WorldFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "world/FigureBlock.h"
#include "world/GridStream.h"
#include "world/PosixFile.h"

namespace qw {

namespace {

uint32_t LoadLE32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void StoreLE32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// The first reason is the one worth telling.
void NoteProblem(WorldLoadReport& report, const std::string& problem) {
    if (report.problem.empty()) report.problem = problem;
}

// The bytes present are used, as for the cells: a value cut by the end of the
// file takes them as its first bytes and keeps the rest of the value it had.
// A value that is then not a finite number keeps the value it had before
// loading: its start value, or for gangle2, which a new round leaves alone,
// the pitch of the round before.
void ReadFigures(TGameState& state, int fd, WorldLoadReport& report) {
    unsigned char block[kFigureBlockBytes];
    const std::size_t got = ReadUpTo(fd, block, sizeof block);
    for (std::size_t i = 0; i < kFigureFields.size() && 8 * i < got; ++i) {
        double& field = state.*kFigureFields[i].field;
        double value = field;
        std::memcpy(&value, block + 8 * i, std::min<std::size_t>(8, got - 8 * i));
        if (!std::isfinite(value)) {
            NoteProblem(report, std::string(kFigureFields[i].name) + " is not a finite number");
            continue;
        }
        field = value;
    }
    if (got < sizeof block) NoteProblem(report, "the file ends inside the figure block");
}

// Reads grid and figures; returns early when the file ends.
void ReadWorld(TGameState& state, int fd, WorldLoadReport& report) {
    unsigned char head[4];
    if (ReadUpTo(fd, head, sizeof head) == sizeof head && LoadLE32(head) == kWorldMagic) {
        report.variant = WorldVariant::Compressed;
        unsigned char length[4];
        if (ReadUpTo(fd, length, sizeof length) < sizeof length) {
            NoteProblem(report, "the file ends inside the block length");
            return;
        }
        const auto n = static_cast<int32_t>(LoadLE32(length));
        // zlib never sees such a block, so this text is ours.
        if (n <= 0) throw std::runtime_error("invalid compressed block length");
        const InflateEnd end = InflateGridBlock(fd, n, state.level);
        if (end == InflateEnd::FileEnded) {
            NoteProblem(report, "the file ends inside the compressed grid");
            return;
        }
        if (end == InflateEnd::Larger) {
            state.level.clear();
            NoteProblem(report, "the compressed grid is larger than a world");
        }
        SeekTo(fd, 8 + int64_t{n});
    } else {
        report.variant = WorldVariant::Raw;
        SeekTo(fd, 0);
        if (ReadUpTo(fd, state.level.data(), kGridBytes) < kGridBytes) {
            NoteProblem(report, "the file ends inside the grid");
            return;
        }
    }
    ReadFigures(state, fd, report);
}

}  // namespace

WorldLoadReport LoadWorld(TGameState& state, const std::string& fname) {
    // Until the file has been read whole, nothing may be saved over it.
    state.levelorigin = TWorldOrigin{fname, std::nullopt, true};
    WorldLoadReport report;
    UniqueFd fd = OpenRegularFile(fname);
    if (!fd) {
        report.problem = "cannot open " + fname + " as a file";
        return report;
    }
    state.levelname = fname;
    const FileIdentity identity = IdentityOf(fd.get());
    try {
        ReadWorld(state, fd.get(), report);
    } catch (...) {
        state.level.clear();
        throw;
    }
    if (!report.problem.empty()) {
        report.status = WorldLoadStatus::Incomplete;
        return report;
    }
    report.status = WorldLoadStatus::Intact;
    state.levelorigin.file = identity;
    state.levelorigin.readDamaged = false;
    return report;
}

FileIdentity SaveWorld(const TGameState& state, const std::string& fname, WriteCall write) {
    AtomicFile out(fname, std::move(write));
    unsigned char header[8];
    StoreLE32(header, kWorldMagic);
    StoreLE32(header + 4, 0);  // the block length, filled in once known
    out.Write(header, sizeof header);
    // A deflated grid is never much larger than the grid: N fits in 31 bits.
    const int64_t n = DeflateGrid(state.level, out);
    StoreLE32(header + 4, static_cast<uint32_t>(n));
    out.WriteAt(4, header + 4, 4);
    const auto figures = EncodeFigureBlock(state);
    out.Write(figures.data(), figures.size());
    return out.Commit();
}

}  // namespace qw
