#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "FuzzTargets.h"
#include "net/Protocol.h"
#include "world/GridStream.h"

namespace qw::fuzz {
namespace {

using namespace qw::net;

bool Within(double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

// A decoded message is the only reading of its bytes: the sides never
// disagree on what was sent, and nothing can hide in a message unread.
template <typename Message>
void RequireCanonical(const Message& message, Bytes bytes) {
    const std::vector<uint8_t> again = Encode(message);
    Require(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()),
            "a decoded message encodes to exactly its bytes");
}

void Check(const THello& m) { Require(m.skin.size() <= kMaxSkinBytes, "hello: skin within its limit"); }

void Check(const TGuestInput& m) {
    Require((m.held & ~kKnownKeys) == 0, "input: only known keys held");
    Require(std::isfinite(m.heading) && std::isfinite(m.pitch), "input: look finite");
    Require(m.events.size() <= kMaxEventsPerInput, "input: events within their limit");
    for (size_t i = 0; i < m.events.size(); ++i) {
        const TGuestEvent& e = m.events[i];
        Require(i == 0 || e.id > m.events[i - 1].id, "input: event ids increase");
        Require(e.kind >= TGuestEventKind::Place && e.kind <= TGuestEventKind::MenuRight, "input: known event");
        for (double v : {e.nearPoint.x, e.nearPoint.y, e.nearPoint.z, e.picked.x, e.picked.y, e.picked.z})
            Require(std::isfinite(v), "input: aim ray finite");
    }
}

void Check(const TRoundReady&) {}

void Check(const TWelcome& m) {
    Require(!(m.creative && m.fight), "welcome: one mode");
    Require(m.skin.size() <= kMaxSkinBytes, "welcome: skin within its limit");
}

void Check(const TGridBegin& m) {
    Require(m.compressedBytes > 0 && m.compressedBytes <= kMaxCompressedGrid, "grid header: size within its limit");
    Require(std::isfinite(m.heading) && std::isfinite(m.pitch), "grid header: look finite");
}

// The guest inflates a grid block once all of it is there; here a chunk
// stands for a whole block. The inflater writes into the level only, which
// AddressSanitizer guards: one grid, however much the stream holds.
void Check(const TGridChunk& m) {
    Require(!m.bytes.empty() && m.bytes.size() <= kGridChunkBytes, "grid chunk: size within its limit");
    static const auto level = std::make_unique<TLevel>();
    try {
        const InflateEnd end = InflateGridBytes(m.bytes, *level);
        Require(end == InflateEnd::StreamEnd || end == InflateEnd::Larger || end == InflateEnd::FileEnded,
                "grid: a known end");
    } catch (const std::runtime_error&) {
        // A damaged stream: the guest ends the connection.
    }
}

void Check(const TCellChanges& m) {
    Require(!m.cells.empty() && m.cells.size() <= kMaxCellChanges, "cell changes: count within its limit");
    static const auto level = std::make_unique<TLevel>();
    for (const TCellChange& c : m.cells) {
        Require(c.offset < kGridCells, "cell changes: index in the grid");
        Require(IsPlayCellCode(c.code), "cell changes: a code of play");
        level->data()[c.offset] = c.code;  // as the guest does
    }
}

void Check(const TSoundEvent& m) { Require(m.sound < kEventSoundCount, "sound: a known sound"); }

void Check(const TRoundEnded&) {}

void CheckFigure(const TFigureSnapshot& f) {
    for (double v : {f.posx, f.posy, f.posz}) Require(Within(v, kMaxFigureCoordinate), "figure: position in range");
    Require(std::isfinite(f.angle) && std::isfinite(f.angle2), "figure: look finite");
    Require(Within(f.swing, kMaxSwing), "figure: swing in range");
    Require(f.jump >= 0 && f.jump <= kMaxJump, "figure: jump in range");
    Require(f.material >= 0 && f.material <= kMaxMaterial, "figure: item in range");
    Require(f.lives >= -kMaxLives && f.lives <= kMaxLives, "figure: lives in range");
    for (double v : {f.missilex, f.missiley, f.missilez})
        Require(Within(v, kMaxMissileCoordinate), "figure: missile in range");
    Require(Within(f.lastdist, kMaxEmeraldDistance) && f.lastdist >= 0, "figure: distance in range");
}

void Check(const TSnapshot& m) {
    CheckFigure(m.first);
    CheckFigure(m.second);
}

template <typename Decoded>
void CheckDecoded(const Decoded& decoded, Bytes bytes) {
    Require(decoded.message.has_value() == decoded.error.empty(), "a message or a reason, never both");
    if (!decoded.message) return;
    std::visit([](const auto& m) { Check(m); }, *decoded.message);
    RequireCanonical(*decoded.message, bytes);
}

}  // namespace

void FeedGuestMessage(Bytes bytes) { CheckDecoded(DecodeGuestMessage(bytes), bytes); }

void FeedHostMessage(Bytes bytes) { CheckDecoded(DecodeHostMessage(bytes), bytes); }

}  // namespace qw::fuzz
