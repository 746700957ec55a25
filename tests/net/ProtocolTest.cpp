// The messages between host and guest: what one side encodes the other
// decodes unchanged, and what a hostile or broken peer sends is refused
// before any of it is used.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <vector>

#include "net/Protocol.h"

namespace qw::net {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNonFinite[] = {kNaN, kInf, -kInf};

std::vector<uint8_t> Filler(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

// One input with an event of every kind; look values as a world file may
// hold them (past a full turn, past the pitch limit), which must travel.
TGuestInput SampleInput() {
    TGuestInput in{7, 3, kKeyForward | kKeyJump | kKeyPlace | (kKeyDigit1 << 8), 720.25, -95.5, {}};
    in.events = {
        {1, TGuestEventKind::Place, {1.5, -2.25, 3}, {10.5, -20, 30.125}},
        {2, TGuestEventKind::Remove, {-0.0, 4, -4}, {-100, 80, 0.5}},
        {3, TGuestEventKind::Escape, {}, {}},
        {5, TGuestEventKind::WheelDown, {}, {}},
        {6, TGuestEventKind::WheelUp, {}, {}},
        {9, TGuestEventKind::MenuThird, {}, {}},
        {10, TGuestEventKind::MenuRight, {}, {}},
    };
    return in;
}

TFigureSnapshot SampleFigure(bool missile, bool showdist) {
    TFigureSnapshot f;
    f.posx = -401.5, f.posy = 12.25, f.posz = 0.125, f.angle = 1234.5, f.angle2 = -90;
    f.swing = -45, f.jump = 8, f.walking = true, f.lives = -2, f.material = 8;
    f.missile = missile;
    if (missile) f.missilex = 1e14, f.missiley = -3.5, f.missilez = 7;
    f.showdist = showdist;
    if (showdist) f.lastdist = 123.456;
    return f;
}

TSnapshot SampleSnapshot() {
    TSnapshot s;
    s.frame = 100000, s.round = 4, s.eventAck = 77;
    s.first = SampleFigure(true, true);
    s.second = SampleFigure(false, true);
    s.second.walking = false, s.second.lives = 10, s.second.material = 0, s.second.jump = 0;
    s.quitmode = true, s.emeraldfound = false, s.secondWon = true;
    return s;
}

std::vector<TGuestMessage> GuestSamples() {
    return {THello{0, {}}, THello{999999, Filler(300)}, SampleInput(), TGuestInput{}, TRoundReady{42}};
}

std::vector<THostMessage> HostSamples() {
    return {
        TWelcome{false, false, {}},
        TWelcome{true, false, Filler(5000)},
        TWelcome{false, true, Filler(1)},
        TGridBegin{5, false, 12345, 180, 0},
        TGridBegin{1, true, kMaxCompressedGrid, -0.0, 95},
        TGridChunk{Filler(1000)},
        TCellChanges{2, {{0, kEmpty}, {static_cast<uint32_t>(kGridCells - 1), kFire2}, {12345, kEmerald}}},
        TSoundEvent{0},
        TSoundEvent{static_cast<uint8_t>(kEventSoundCount - 1)},
        TRoundEnded{},
        SampleSnapshot(),
        TSnapshot{},
    };
}

TDecoded<TGuestMessage> Decode(std::span<const uint8_t> bytes, const TGuestMessage*) {
    return DecodeGuestMessage(bytes);
}
TDecoded<THostMessage> Decode(std::span<const uint8_t> bytes, const THostMessage*) {
    return DecodeHostMessage(bytes);
}

// Whether the decoder of Message's direction takes the bytes.
template <typename Message>
bool Taken(const std::vector<uint8_t>& bytes) {
    const TDecoded<Message> d = Decode(bytes, static_cast<const Message*>(nullptr));
    EXPECT_NE(d.message.has_value(), !d.error.empty()) << "a message or a reason, never both";
    return d.message.has_value();
}

bool GuestTaken(const std::vector<uint8_t>& bytes) { return Taken<TGuestMessage>(bytes); }
bool HostTaken(const std::vector<uint8_t>& bytes) { return Taken<THostMessage>(bytes); }
bool GuestTaken(const TGuestMessage& m) { return GuestTaken(Encode(m)); }
bool HostTaken(const THostMessage& m) { return HostTaken(Encode(m)); }

// A chunk is whatever follows its type byte: every cut or longer one is
// another chunk.
template <typename Message>
bool HasLength(const Message& m) {
    if constexpr (std::is_same_v<Message, THostMessage>) return !std::holds_alternative<TGridChunk>(m);
    return true;
}

template <typename Message>
void ExpectRoundTrips(const std::vector<Message>& samples) {
    for (const Message& m : samples) {
        SCOPED_TRACE(m.index());
        const TDecoded<Message> d = Decode(Encode(m), &m);
        ASSERT_TRUE(d.message) << d.error;
        EXPECT_TRUE(*d.message == m);
    }
}

// ENet hands over whole packets, but a peer may send any length.
template <typename Message>
void ExpectCutsAndTailsRefused(const std::vector<Message>& samples) {
    for (const Message& m : samples) {
        if (!HasLength(m)) continue;
        std::vector<uint8_t> bytes = Encode(m);
        for (size_t n = 0; n < bytes.size(); ++n)
            EXPECT_FALSE(Taken<Message>(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n)))
                << "message " << m.index() << " cut to " << n << " of " << bytes.size();
        bytes.push_back(0);
        EXPECT_FALSE(Taken<Message>(bytes)) << "message " << m.index() << " with a byte more";
    }
}

TEST(ProtocolRoundTrip, EveryMessageOfBothDirections) {
    ExpectRoundTrips(GuestSamples());
    ExpectRoundTrips(HostSamples());
}

TEST(ProtocolRefusal, TruncatedAtEveryLengthOrWithTrailingBytes) {
    ExpectCutsAndTailsRefused(GuestSamples());
    ExpectCutsAndTailsRefused(HostSamples());
    EXPECT_FALSE(HostTaken(std::vector<uint8_t>{18})) << "a chunk of no bytes";
}

// Each side knows only the other's messages: one of its own coming back,
// or any other first byte, is refused.
TEST(ProtocolRefusal, UnknownTypesAndTheWrongDirection) {
    const auto firstBytes = [](const auto& samples) {
        std::vector<bool> used(256);
        for (const auto& m : samples) used[Encode(m)[0]] = true;
        return used;
    };
    const std::vector<bool> guestTypes = firstBytes(GuestSamples());
    const std::vector<bool> hostTypes = firstBytes(HostSamples());
    for (int type = 0; type < 256; ++type) {
        // Long enough for any message's fields.
        std::vector<uint8_t> bytes(64, 0);
        bytes[0] = static_cast<uint8_t>(type);
        if (!guestTypes[type]) {
            EXPECT_FALSE(GuestTaken(bytes)) << "type " << type;
        }
        if (!hostTypes[type]) {
            EXPECT_FALSE(HostTaken(bytes)) << "type " << type;
        }
    }
    for (const TGuestMessage& m : GuestSamples()) EXPECT_FALSE(HostTaken(Encode(m)));
    for (const THostMessage& m : HostSamples()) EXPECT_FALSE(GuestTaken(Encode(m)));
}

// Heading and pitch may be any number (a world file's look travels as it
// is), but a number they must be.
template <typename Message, typename Taken>
void ExpectLookFinite(Message m, Taken taken) {
    for (double bad : kNonFinite) {
        for (double* angle : {&m.heading, &m.pitch}) {
            const double kept = *angle;
            *angle = bad;
            EXPECT_FALSE(taken(m)) << (angle == &m.heading ? "heading " : "pitch ") << bad;
            *angle = kept;
        }
    }
}

TEST(ProtocolLimits, SkinSizes) {
    EXPECT_TRUE(GuestTaken(THello{1, Filler(kMaxSkinBytes)}));
    EXPECT_FALSE(GuestTaken(THello{1, Filler(kMaxSkinBytes + 1)}));
    EXPECT_TRUE(HostTaken(TWelcome{true, false, Filler(kMaxSkinBytes)}));
    EXPECT_FALSE(HostTaken(TWelcome{true, false, Filler(kMaxSkinBytes + 1)}));
    // A size that promises more than the message holds.
    std::vector<uint8_t> bytes = Encode(THello{1, Filler(10)});
    bytes[5] = 11;
    EXPECT_FALSE(GuestTaken(bytes));
}

TEST(ProtocolLimits, GuestInputKeysLookAndEvents) {
    TGuestInput in;
    in.held = kKnownKeys;
    EXPECT_TRUE(GuestTaken(in));
    for (uint32_t bit = 17; bit < 32; ++bit) {
        in.held = 1u << bit;
        EXPECT_FALSE(GuestTaken(in)) << "held bit " << bit;
    }
    in.held = 0;
    ExpectLookFinite(in, [](const TGuestInput& m) { return GuestTaken(m); });

    for (uint32_t i = 1; i <= kMaxEventsPerInput; ++i) in.events.push_back({i, TGuestEventKind::Escape, {}, {}});
    EXPECT_TRUE(GuestTaken(in));
    in.events.push_back({100, TGuestEventKind::Escape, {}, {}});
    EXPECT_FALSE(GuestTaken(in)) << "one event too many";

    // Ids strictly increase: a repeated or a smaller one is a forged list.
    in.events = {{5, TGuestEventKind::Escape, {}, {}}, {5, TGuestEventKind::WheelUp, {}, {}}};
    EXPECT_FALSE(GuestTaken(in));
    in.events[1].id = 4;
    EXPECT_FALSE(GuestTaken(in));
    in.events[1].id = 6;
    EXPECT_TRUE(GuestTaken(in));
}

TEST(ProtocolLimits, GuestEventKindsAndPickedPoints) {
    TGuestInput in;
    in.events = {{1, TGuestEventKind::Escape, {}, {}}};
    std::vector<uint8_t> bytes = Encode(in);
    const size_t kindAt = bytes.size() - 1;
    for (int kind : {0, 8, 255}) {
        bytes[kindAt] = static_cast<uint8_t>(kind);
        EXPECT_FALSE(GuestTaken(bytes)) << "kind " << kind;
    }

    for (TGuestEventKind kind : {TGuestEventKind::Place, TGuestEventKind::Remove}) {
        for (int coordinate = 0; coordinate < 6; ++coordinate) {
            for (double bad : kNonFinite) {
                TGuestEvent e{1, kind, {1, 2, 3}, {4, 5, 6}};
                double* c[] = {&e.nearPoint.x, &e.nearPoint.y, &e.nearPoint.z, &e.picked.x, &e.picked.y, &e.picked.z};
                *c[coordinate] = bad;
                in.events = {e};
                EXPECT_FALSE(GuestTaken(in)) << "coordinate " << coordinate << " = " << bad;
            }
        }
    }
}

TEST(ProtocolLimits, WelcomeModes) {
    std::vector<uint8_t> bytes = Encode(TWelcome{});
    for (int flags = 0; flags < 256; ++flags) {
        bytes[1] = static_cast<uint8_t>(flags);
        // Search, creative or fight; never both of the last two.
        EXPECT_EQ(HostTaken(bytes), flags == 0 || flags == 1 || flags == 2) << "flags " << flags;
    }
}

TEST(ProtocolLimits, GridHeaderAndChunks) {
    TGridBegin begin{1, true, 1, 0, 0};
    EXPECT_TRUE(HostTaken(begin));
    begin.compressedBytes = 0;
    EXPECT_FALSE(HostTaken(begin));
    begin.compressedBytes = kMaxCompressedGrid + 1;
    EXPECT_FALSE(HostTaken(begin));
    begin.compressedBytes = UINT32_MAX;
    EXPECT_FALSE(HostTaken(begin));
    begin.compressedBytes = 100;
    ExpectLookFinite(begin, [](const TGridBegin& m) { return HostTaken(m); });
    std::vector<uint8_t> bytes = Encode(begin);
    bytes[5] = 2;  // newRound is a yes or a no
    EXPECT_FALSE(HostTaken(bytes));

    EXPECT_TRUE(HostTaken(TGridChunk{Filler(kGridChunkBytes)}));
    EXPECT_FALSE(HostTaken(TGridChunk{Filler(kGridChunkBytes + 1)}));
    EXPECT_FALSE(HostTaken(TGridChunk{}));
}

TEST(ProtocolLimits, CellChanges) {
    TCellChanges changes{1, std::vector<TCellChange>(kMaxCellChanges, TCellChange{7, kBrick})};
    EXPECT_TRUE(HostTaken(changes));
    changes.cells.push_back({8, kBrick});
    EXPECT_FALSE(HostTaken(changes)) << "one change too many";
    changes.cells.clear();
    EXPECT_FALSE(HostTaken(changes)) << "no change at all";

    for (uint32_t offset : {static_cast<uint32_t>(kGridCells), UINT32_MAX}) {
        changes.cells = {{0, kEmpty}, {offset, kEmpty}};
        EXPECT_FALSE(HostTaken(changes)) << "offset " << offset;
    }
    for (int32_t code = -2; code <= 105; ++code) {
        changes.cells = {{1, code}};
        EXPECT_EQ(HostTaken(changes), IsPlayCellCode(code)) << "code " << code;
    }
    EXPECT_TRUE(IsPlayCellCode(kHillGrass) && IsPlayCellCode(kFire1) && IsPlayCellCode(kEmerald));
    EXPECT_FALSE(IsPlayCellCode(11) || IsPlayCellCode(100) || IsPlayCellCode(104) || IsPlayCellCode(-1));
    for (int32_t code : {INT32_MIN, INT32_MAX}) {
        changes.cells = {{1, code}};
        EXPECT_FALSE(HostTaken(changes)) << "code " << code;
    }
}

TEST(ProtocolLimits, SoundsAndSnapshotFlags) {
    EXPECT_FALSE(HostTaken(TSoundEvent{static_cast<uint8_t>(kEventSoundCount)}));
    EXPECT_FALSE(HostTaken(TSoundEvent{255}));

    const std::vector<uint8_t> good = Encode(TSnapshot{});
    // Type, frame, round, ack, then the snapshot's flags and the first figure's.
    for (size_t at : {size_t{13}, size_t{14}}) {
        for (int bit = 3; bit < 8; ++bit) {
            std::vector<uint8_t> bytes = good;
            bytes[at] = static_cast<uint8_t>(1 << bit);
            EXPECT_FALSE(HostTaken(bytes)) << "byte " << at << " bit " << bit;
        }
    }
}

// Every number of either figure: a position, missile or distance no game
// has, a look that is no number, a swing, jump, item or count of lives
// past what the game makes.
TEST(ProtocolLimits, FigureNumbers) {
    struct TBad {
        const char* what;
        void (*spoil)(TFigureSnapshot&);
    };
    const TBad bads[] = {
        {"posx NaN", [](TFigureSnapshot& f) { f.posx = kNaN; }},
        {"posy inf", [](TFigureSnapshot& f) { f.posy = kInf; }},
        {"posz far", [](TFigureSnapshot& f) { f.posz = -kMaxFigureCoordinate * 1.01; }},
        {"angle NaN", [](TFigureSnapshot& f) { f.angle = kNaN; }},
        {"angle2 -inf", [](TFigureSnapshot& f) { f.angle2 = -kInf; }},
        {"swing past 45", [](TFigureSnapshot& f) { f.swing = 45.5; }},
        {"swing NaN", [](TFigureSnapshot& f) { f.swing = kNaN; }},
        {"jump 9", [](TFigureSnapshot& f) { f.jump = 9; }},
        {"material 9", [](TFigureSnapshot& f) { f.material = 9; }},
        {"lives huge", [](TFigureSnapshot& f) { f.lives = INT32_MAX; }},
        {"lives very negative", [](TFigureSnapshot& f) { f.lives = INT32_MIN; }},
        {"missile x NaN", [](TFigureSnapshot& f) { f.missile = true, f.missilex = kNaN; }},
        {"missile y inf", [](TFigureSnapshot& f) { f.missile = true, f.missiley = kInf; }},
        {"missile z far", [](TFigureSnapshot& f) { f.missile = true, f.missilez = kMaxMissileCoordinate * 2; }},
        {"distance negative", [](TFigureSnapshot& f) { f.showdist = true, f.lastdist = -0.5; }},
        {"distance NaN", [](TFigureSnapshot& f) { f.showdist = true, f.lastdist = kNaN; }},
        {"distance far", [](TFigureSnapshot& f) { f.showdist = true, f.lastdist = kMaxEmeraldDistance * 2; }},
    };
    for (const TBad& bad : bads) {
        for (bool first : {true, false}) {
            TSnapshot s = SampleSnapshot();
            bad.spoil(first ? s.first : s.second);
            EXPECT_FALSE(HostTaken(s)) << bad.what << (first ? " (first figure)" : " (second figure)");
        }
    }
}

}  // namespace
}  // namespace qw::net
