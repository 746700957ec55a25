#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>

#include "MlfTestFiles.h"
#include "assets/MlfFont.h"

namespace qw {
namespace {

using test::MlfBytes;
using test::Stroke;

TStrokeRecord StrokeAt(TGameState& gs, char16_t c, uint32_t i) {
    TStrokeRecord r;
    std::memcpy(&r, gs.buchstaben[c - 32].GetObject(i), sizeof r);
    return r;
}

// Loads the bytes; returns the reported message, if any.
std::optional<std::string> Load(TGameState& gs, const std::string& name, const std::string& bytes) {
    std::optional<std::string> message;
    OpenMLFontFile(gs, test::WriteTempFile(name, bytes).string(), [&](const std::string& m) { message = m; });
    return message;
}

// Characters 32 ... 255 with `strokesOf(c)` line strokes each, then advances.
MlfBytes WholeFont(uint32_t (*strokesOf)(int c), double advancesA, double advancesBC) {
    MlfBytes f;
    for (int c = 32; c <= 255; ++c) {
        f.Int32(int32_t(strokesOf(c)));
        for (uint32_t i = 0; i < strokesOf(c); ++i) f.Record(Stroke(kStrokeLine, c, i, c + 1, i + 1));
    }
    f.Advances(advancesA).Advances(advancesBC);
    return f;
}

TEST(MlfFont, ReadsEveryGlyphRecordAndBothAdvanceTables) {
    TGameState gs;
    MlfBytes f;
    TStrokeRecord curve = Stroke(kStrokeCurve, 0.25, -1.5, 2, 3, 4.5, 5);
    curve.reserved[0] = 0xAB;
    curve.reserved[51] = 0xCD;
    for (int c = 32; c <= 255; ++c) {
        if (c == 'A') {
            f.Int32(2).Record(Stroke(kStrokeLine, 1, 2, 3, 4)).Record(curve);
        } else if (c == 255) {
            f.Int32(1).Record(Stroke(7, 0, 0, 0, 0));
        } else {
            f.Int32(0);
        }
    }
    f.Advances(0.5).Advances(100);
    EXPECT_FALSE(Load(gs, "whole.mlf", f.str()));

    EXPECT_EQ(gs.buchstaben[' ' - 32].count(), 0u);
    EXPECT_EQ(gs.buchstaben[' ' - 32].poi(), nullptr);  // an empty glyph holds no block
    ASSERT_EQ(gs.buchstaben['A' - 32].count(), 2u);
    const TStrokeRecord line = StrokeAt(gs, 'A', 0);
    EXPECT_EQ(line.kind, kStrokeLine);
    EXPECT_EQ(line.x2, 3);
    EXPECT_EQ(line.y2, 4);
    const TStrokeRecord readCurve = StrokeAt(gs, 'A', 1);
    EXPECT_EQ(std::memcmp(&readCurve, &curve, sizeof curve), 0);
    EXPECT_EQ(StrokeAt(gs, char16_t(255), 0).kind, 7);  // unknown kinds are kept; drawing skips them
    EXPECT_EQ(gs.buchstabenbreitea[0], 0.5);
    EXPECT_EQ(gs.buchstabenbreitea[223], 223.5);
    EXPECT_EQ(gs.buchstabenbreitebc[0], 100);
    EXPECT_EQ(gs.buchstabenbreitebc[223], 323);
}

TEST(MlfFont, ASecondReadingLeavesNothingOfTheFirst) {
    TGameState gs;
    EXPECT_FALSE(Load(gs, "many.mlf", WholeFont([](int c) { return uint32_t(c % 3 + 1); }, 1, 2).str()));
    EXPECT_EQ(gs.buchstaben['B' - 32].count(), uint32_t('B' % 3 + 1));
    EXPECT_FALSE(Load(gs, "few.mlf", WholeFont([](int c) { return c == 'B' ? 1u : 0u; }, 3, 4).str()));
    for (int c = 32; c <= 255; ++c) EXPECT_EQ(gs.buchstaben[c - 32].count(), c == 'B' ? 1u : 0u) << c;
    EXPECT_EQ(StrokeAt(gs, 'B', 0).x1, 'B');
    EXPECT_EQ(gs.buchstabenbreitea[5], 8);
}

TEST(MlfFont, ATruncatedFileKeepsWhatWasReadBeforeTheEnd) {
    const MlfBytes whole = WholeFont([](int) { return 2u; }, 1, 2);
    // Cut inside the second stroke of character 34.
    const std::size_t perGlyph = 4 + 2 * 104;
    const std::size_t cut = 2 * perGlyph + 4 + 104 + 50;
    TGameState gs;
    EXPECT_FALSE(Load(gs, "cut.mlf", whole.str().substr(0, cut)));
    EXPECT_EQ(gs.buchstaben[0].count(), 2u);
    EXPECT_EQ(gs.buchstaben[1].count(), 2u);
    EXPECT_EQ(gs.buchstaben[2].count(), 1u);
    EXPECT_EQ(StrokeAt(gs, 34, 0).x1, 34);
    EXPECT_EQ(gs.buchstaben[3].count(), 0u);
    EXPECT_EQ(gs.buchstabenbreitea[0], 0);

    // Cut inside the second advance table: the first table and the start of the second are kept.
    TGameState gs2;
    EXPECT_FALSE(Load(gs2, "cut2.mlf", whole.str().substr(0, whole.str().size() - 1792 + 20)));
    EXPECT_EQ(gs2.buchstabenbreitea[223], 224);
    EXPECT_EQ(gs2.buchstabenbreitebc[1], 3);
    EXPECT_EQ(gs2.buchstabenbreitebc[2], 0);

    TGameState empty;
    EXPECT_FALSE(Load(empty, "empty.mlf", ""));
    EXPECT_EQ(empty.buchstaben[0].count(), 0u);
}

TEST(MlfFont, CountsAreCappedByTheBytesThatRemain) {
    TGameState gs;
    MlfBytes f;
    f.Int32(std::numeric_limits<int32_t>::max());
    f.Record(Stroke(kStrokeLine, 1, 1, 2, 2)).Record(Stroke(kStrokeLine, 3, 3, 4, 4));
    EXPECT_FALSE(Load(gs, "huge.mlf", f.str()));
    EXPECT_EQ(gs.buchstaben[0].count(), 2u);
    EXPECT_EQ(gs.buchstaben[0].amemsize(), 100u * 104);
    EXPECT_EQ(gs.buchstaben[1].count(), 0u);

    // Negative and zero counts read no records; the next count follows directly.
    MlfBytes g;
    g.Int32(-5).Int32(std::numeric_limits<int32_t>::min()).Int32(1).Record(Stroke(kStrokeArc, 9, 9, 9, 9));
    TGameState gs2;
    EXPECT_FALSE(Load(gs2, "negative.mlf", g.str()));
    EXPECT_EQ(gs2.buchstaben[0].count(), 0u);
    EXPECT_EQ(gs2.buchstaben[1].count(), 0u);
    ASSERT_EQ(gs2.buchstaben[2].count(), 1u);
    EXPECT_EQ(StrokeAt(gs2, 34, 0).kind, kStrokeArc);
}

TEST(MlfFont, NonFiniteCoordinatesAreKeptAsRead) {
    TGameState gs;
    MlfBytes f;
    f.Int32(1).Record(Stroke(kStrokeCurve, std::nan(""), INFINITY, -INFINITY, 1e308, 0, 0));
    EXPECT_FALSE(Load(gs, "nan.mlf", f.str()));
    const TStrokeRecord r = StrokeAt(gs, 32, 0);
    EXPECT_TRUE(std::isnan(r.x1));
    EXPECT_TRUE(std::isinf(r.y1));
    EXPECT_EQ(r.y2, 1e308);
}

TEST(MlfFont, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
    TGameState gs;
    test::AddStroke(gs, 'x', Stroke(kStrokeLine, 1, 2, 3, 4));
    gs.buchstabenbreitea['x' - 32] = 7;
    const std::string missing = ::testing::TempDir() + "/kein/Arial.mlf";
    std::optional<std::string> message;
    auto report = [&](const std::string& m) { message = m; };

    OpenMLFontFile(gs, missing, report);
    EXPECT_EQ(message, "Konnte Datei " + missing + " nicht öffnen.");
    EXPECT_EQ(gs.buchstaben['x' - 32].count(), 1u);
    EXPECT_EQ(gs.buchstabenbreitea['x' - 32], 7);

    // Only regular files: a folder gives no data and a FIFO would block.
    message.reset();
    OpenMLFontFile(gs, ::testing::TempDir(), report);
    EXPECT_TRUE(message);
    const std::string fifo = ::testing::TempDir() + "/" + std::to_string(::getpid()) + "-font.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    message.reset();
    OpenMLFontFile(gs, fifo, report);
    EXPECT_TRUE(message);
    ::unlink(fifo.c_str());
    EXPECT_EQ(gs.buchstaben['x' - 32].count(), 1u);
}

}  // namespace
}  // namespace qw
