#include "net/Protocol.h"

#include <cmath>

#include "net/Wire.h"

namespace qw::net {

namespace {

enum TMessageType : uint8_t {
    kHello = 1,
    kInput = 2,
    kRoundReady = 3,
    kWelcome = 16,
    kGridBegin = 17,
    kGridChunk = 18,
    kCellChanges = 19,
    kSound = 20,
    kRoundEnded = 21,
    kSnapshot = 22,
};

constexpr uint8_t kFlagCreative = 1, kFlagFight = 2;
constexpr uint8_t kFlagQuitmode = 1, kFlagEmeraldFound = 2, kFlagSecondWon = 4;
constexpr uint8_t kFlagWalking = 1, kFlagMissile = 2, kFlagShowdist = 4;

bool Within(double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

// ---- encoding ----

void Put(TByteWriter& w, const THello& m) {
    w.U8(kHello);
    w.U32(m.code);
    w.U32(static_cast<uint32_t>(m.skin.size()));
    w.Bytes(m.skin);
}

void Put(TByteWriter& w, const TGuestInput& m) {
    w.U8(kInput);
    w.U32(m.seq);
    w.U32(m.round);
    w.U32(m.held);
    w.F64(m.heading);
    w.F64(m.pitch);
    w.U8(static_cast<uint8_t>(m.events.size()));
    for (const TGuestEvent& e : m.events) {
        w.U32(e.id);
        w.U8(static_cast<uint8_t>(e.kind));
        if (e.kind == TGuestEventKind::Place || e.kind == TGuestEventKind::Remove) {
            for (double v : {e.nearPoint.x, e.nearPoint.y, e.nearPoint.z, e.picked.x, e.picked.y, e.picked.z})
                w.F64(v);
        }
    }
}

void Put(TByteWriter& w, const TRoundReady& m) {
    w.U8(kRoundReady);
    w.U32(m.round);
}

void Put(TByteWriter& w, const TWelcome& m) {
    w.U8(kWelcome);
    w.U8(static_cast<uint8_t>((m.creative ? kFlagCreative : 0) | (m.fight ? kFlagFight : 0)));
    w.U32(static_cast<uint32_t>(m.skin.size()));
    w.Bytes(m.skin);
}

void Put(TByteWriter& w, const TGridBegin& m) {
    w.U8(kGridBegin);
    w.U32(m.round);
    w.U8(m.newRound ? 1 : 0);
    w.U32(m.compressedBytes);
    w.F64(m.heading);
    w.F64(m.pitch);
}

void Put(TByteWriter& w, const TGridChunk& m) {
    w.U8(kGridChunk);
    w.Bytes(m.bytes);
}

void Put(TByteWriter& w, const TCellChanges& m) {
    w.U8(kCellChanges);
    w.U32(m.round);
    w.U16(static_cast<uint16_t>(m.cells.size()));
    for (const TCellChange& c : m.cells) {
        w.U32(c.offset);
        w.I32(c.code);
    }
}

void Put(TByteWriter& w, const TSoundEvent& m) {
    w.U8(kSound);
    w.U8(m.sound);
}

void Put(TByteWriter& w, const TRoundEnded&) { w.U8(kRoundEnded); }

void PutFigure(TByteWriter& w, const TFigureSnapshot& f) {
    w.U8(static_cast<uint8_t>((f.walking ? kFlagWalking : 0) | (f.missile ? kFlagMissile : 0) |
                              (f.showdist ? kFlagShowdist : 0)));
    for (double v : {f.posx, f.posy, f.posz, f.angle, f.angle2, f.swing}) w.F64(v);
    w.U8(static_cast<uint8_t>(f.jump));
    w.I32(f.lives);
    w.U8(static_cast<uint8_t>(f.material));
    if (f.missile) {
        w.F64(f.missilex);
        w.F64(f.missiley);
        w.F64(f.missilez);
    }
    if (f.showdist) w.F64(f.lastdist);
}

void Put(TByteWriter& w, const TSnapshot& m) {
    w.U8(kSnapshot);
    w.U32(m.frame);
    w.U32(m.round);
    w.U32(m.eventAck);
    w.U8(static_cast<uint8_t>((m.quitmode ? kFlagQuitmode : 0) | (m.emeraldfound ? kFlagEmeraldFound : 0) |
                              (m.secondWon ? kFlagSecondWon : 0)));
    PutFigure(w, m.first);
    PutFigure(w, m.second);
}

// ---- decoding ----

// Each reader fills its message and returns an empty text, or says what was wrong.
using TCheck = std::string;

TCheck ReadSkin(TByteReader& r, std::vector<uint8_t>& skin) {
    uint32_t size;
    std::span<const uint8_t> bytes;
    if (!r.U32(size)) return "short skin";
    if (size > kMaxSkinBytes) return "skin too large";
    if (!r.Bytes(size, bytes)) return "short skin";
    skin.assign(bytes.begin(), bytes.end());
    return {};
}

TCheck Read(TByteReader& r, THello& m) {
    if (!r.U32(m.code)) return "short hello";
    return ReadSkin(r, m.skin);
}

TCheck ReadPoint(TByteReader& r, TWorldPoint& p) {
    if (!r.F64(p.x) || !r.F64(p.y) || !r.F64(p.z)) return "short event";
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return "picked point not finite";
    return {};
}

TCheck Read(TByteReader& r, TGuestInput& m) {
    uint8_t count;
    if (!r.U32(m.seq) || !r.U32(m.round) || !r.U32(m.held) || !r.F64(m.heading) || !r.F64(m.pitch) || !r.U8(count))
        return "short input";
    if ((m.held & ~kKnownKeys) != 0) return "unknown keys held";
    if (!std::isfinite(m.heading) || !std::isfinite(m.pitch)) return "look not finite";
    if (count > kMaxEventsPerInput) return "too many events";
    for (uint8_t i = 0; i < count; ++i) {
        TGuestEvent e;
        uint8_t kind;
        if (!r.U32(e.id) || !r.U8(kind)) return "short event";
        if (kind < static_cast<uint8_t>(TGuestEventKind::Place) || kind > static_cast<uint8_t>(TGuestEventKind::MenuRight))
            return "unknown event";
        e.kind = static_cast<TGuestEventKind>(kind);
        if (!m.events.empty() && e.id <= m.events.back().id) return "events out of order";
        if (e.kind == TGuestEventKind::Place || e.kind == TGuestEventKind::Remove) {
            if (TCheck bad = ReadPoint(r, e.nearPoint); !bad.empty()) return bad;
            if (TCheck bad = ReadPoint(r, e.picked); !bad.empty()) return bad;
        }
        m.events.push_back(e);
    }
    return {};
}

TCheck Read(TByteReader& r, TRoundReady& m) { return r.U32(m.round) ? TCheck{} : "short round ready"; }

TCheck Read(TByteReader& r, TWelcome& m) {
    uint8_t flags;
    if (!r.U8(flags)) return "short welcome";
    if ((flags & ~(kFlagCreative | kFlagFight)) != 0 || flags == (kFlagCreative | kFlagFight)) return "unknown mode";
    m.creative = (flags & kFlagCreative) != 0;
    m.fight = (flags & kFlagFight) != 0;
    return ReadSkin(r, m.skin);
}

TCheck Read(TByteReader& r, TGridBegin& m) {
    uint8_t newRound;
    if (!r.U32(m.round) || !r.U8(newRound) || !r.U32(m.compressedBytes) || !r.F64(m.heading) || !r.F64(m.pitch))
        return "short grid header";
    if (newRound > 1) return "bad grid header";
    m.newRound = newRound == 1;
    if (m.compressedBytes == 0 || m.compressedBytes > kMaxCompressedGrid) return "grid size out of range";
    if (!std::isfinite(m.heading) || !std::isfinite(m.pitch)) return "look not finite";
    return {};
}

TCheck Read(TByteReader& r, TGridChunk& m) {
    std::span<const uint8_t> bytes;
    if (r.remaining() == 0 || r.remaining() > kGridChunkBytes) return "grid chunk size out of range";
    r.Bytes(r.remaining(), bytes);
    m.bytes.assign(bytes.begin(), bytes.end());
    return {};
}

TCheck Read(TByteReader& r, TCellChanges& m) {
    uint16_t count;
    if (!r.U32(m.round) || !r.U16(count)) return "short cell changes";
    if (count == 0 || count > kMaxCellChanges) return "cell count out of range";
    m.cells.resize(count);
    for (TCellChange& c : m.cells) {
        if (!r.U32(c.offset) || !r.I32(c.code)) return "short cell changes";
        if (c.offset >= kGridCells) return "cell index out of range";
        if (!IsPlayCellCode(c.code)) return "unknown cell code";
    }
    return {};
}

TCheck Read(TByteReader& r, TSoundEvent& m) {
    if (!r.U8(m.sound)) return "short sound";
    return m.sound < kEventSoundCount ? TCheck{} : "unknown sound";
}

TCheck Read(TByteReader&, TRoundEnded&) { return {}; }

TCheck ReadFigure(TByteReader& r, TFigureSnapshot& f) {
    uint8_t flags, jump, material;
    if (!r.U8(flags) || !r.F64(f.posx) || !r.F64(f.posy) || !r.F64(f.posz) || !r.F64(f.angle) || !r.F64(f.angle2) ||
        !r.F64(f.swing) || !r.U8(jump) || !r.I32(f.lives) || !r.U8(material))
        return "short snapshot";
    if ((flags & ~(kFlagWalking | kFlagMissile | kFlagShowdist)) != 0) return "bad figure flags";
    f.walking = (flags & kFlagWalking) != 0;
    f.missile = (flags & kFlagMissile) != 0;
    f.showdist = (flags & kFlagShowdist) != 0;
    f.jump = jump;
    f.material = material;
    if (!Within(f.posx, kMaxFigureCoordinate) || !Within(f.posy, kMaxFigureCoordinate) ||
        !Within(f.posz, kMaxFigureCoordinate))
        return "figure out of range";
    if (!std::isfinite(f.angle) || !std::isfinite(f.angle2)) return "look not finite";
    if (!Within(f.swing, kMaxSwing) || f.jump > kMaxJump || f.material > kMaxMaterial || f.lives > kMaxLives ||
        f.lives < -kMaxLives)
        return "figure state out of range";
    if (f.missile) {
        if (!r.F64(f.missilex) || !r.F64(f.missiley) || !r.F64(f.missilez)) return "short snapshot";
        if (!Within(f.missilex, kMaxMissileCoordinate) || !Within(f.missiley, kMaxMissileCoordinate) ||
            !Within(f.missilez, kMaxMissileCoordinate))
            return "missile out of range";
    }
    if (f.showdist) {
        if (!r.F64(f.lastdist)) return "short snapshot";
        if (!Within(f.lastdist, kMaxEmeraldDistance) || f.lastdist < 0) return "distance out of range";
    }
    return {};
}

TCheck Read(TByteReader& r, TSnapshot& m) {
    uint8_t flags;
    if (!r.U32(m.frame) || !r.U32(m.round) || !r.U32(m.eventAck) || !r.U8(flags)) return "short snapshot";
    if ((flags & ~(kFlagQuitmode | kFlagEmeraldFound | kFlagSecondWon)) != 0) return "bad snapshot flags";
    m.quitmode = (flags & kFlagQuitmode) != 0;
    m.emeraldfound = (flags & kFlagEmeraldFound) != 0;
    m.secondWon = (flags & kFlagSecondWon) != 0;
    if (TCheck bad = ReadFigure(r, m.first); !bad.empty()) return bad;
    return ReadFigure(r, m.second);
}

template <typename Variant, typename Message>
TDecoded<Variant> DecodeAs(TByteReader& r) {
    Message m;
    TDecoded<Variant> result;
    result.error = Read(r, m);
    if (result.error.empty() && !r.Finished()) result.error = "trailing bytes";
    if (result.error.empty()) result.message = std::move(m);
    return result;
}

}  // namespace

bool IsPlayCellCode(int32_t code) {
    return (code >= kEmpty && code <= kHillGrass) || code == kFire1 || code == kEmerald || code == kFire2;
}

std::vector<uint8_t> Encode(const TGuestMessage& message) {
    TByteWriter w;
    std::visit([&](const auto& m) { Put(w, m); }, message);
    return w.Take();
}

std::vector<uint8_t> Encode(const THostMessage& message) {
    TByteWriter w;
    std::visit([&](const auto& m) { Put(w, m); }, message);
    return w.Take();
}

TDecoded<TGuestMessage> DecodeGuestMessage(std::span<const uint8_t> bytes) {
    TByteReader r(bytes);
    uint8_t type;
    if (!r.U8(type)) return {std::nullopt, "empty message"};
    switch (type) {
        case kHello: return DecodeAs<TGuestMessage, THello>(r);
        case kInput: return DecodeAs<TGuestMessage, TGuestInput>(r);
        case kRoundReady: return DecodeAs<TGuestMessage, TRoundReady>(r);
        default: return {std::nullopt, "unknown message " + std::to_string(type)};
    }
}

TDecoded<THostMessage> DecodeHostMessage(std::span<const uint8_t> bytes) {
    TByteReader r(bytes);
    uint8_t type;
    if (!r.U8(type)) return {std::nullopt, "empty message"};
    switch (type) {
        case kWelcome: return DecodeAs<THostMessage, TWelcome>(r);
        case kGridBegin: return DecodeAs<THostMessage, TGridBegin>(r);
        case kGridChunk: return DecodeAs<THostMessage, TGridChunk>(r);
        case kCellChanges: return DecodeAs<THostMessage, TCellChanges>(r);
        case kSound: return DecodeAs<THostMessage, TSoundEvent>(r);
        case kRoundEnded: return DecodeAs<THostMessage, TRoundEnded>(r);
        case kSnapshot: return DecodeAs<THostMessage, TSnapshot>(r);
        default: return {std::nullopt, "unknown message " + std::to_string(type)};
    }
}

}  // namespace qw::net
