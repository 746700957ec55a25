#pragma once
// The messages of a network game and their encoding. The host's record is
// the only one simulated; the guest sends its player's input and draws a
// replica that the host keeps up to date. Every decoder treats its bytes as
// hostile: sizes, counts, indices, codes and numbers are checked before a
// message is handed out, and anything else is reported as malformed.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "sim/WorldPoint.h"
#include "world/Grid.h"

namespace qw::net {

inline constexpr uint16_t kDefaultPort = 30533;
// Sent with the connection request; a host of another version refuses it.
inline constexpr uint32_t kProtocolVersion = 0x51570001;

// Channel 0 carries the per-frame state (unreliable: a late one is dropped),
// channel 1 everything that must arrive once and in order.
inline constexpr uint8_t kStateChannel = 0;
inline constexpr uint8_t kReliableChannel = 1;
inline constexpr size_t kChannelCount = 2;

// Why a connection ended; travels with ENet's disconnect notice.
enum class TEndReason : uint32_t {
    None = 0,
    Quit = 1,          // the other player ended the game
    WrongCode = 2,
    OtherVersion = 3,
    Busy = 4,          // the host already has a guest
    Malformed = 5,     // a message failed its checks
    Cancelled = 6,     // the other side stopped waiting
    Lost = 7,          // no answer within the timeout (never sent)
};

inline constexpr size_t kMaxSkinBytes = 256 * 1024;
inline constexpr size_t kMaxEventsPerInput = 16;
inline constexpr size_t kMaxCellChanges = 4096;
inline constexpr size_t kGridChunkBytes = 64 * 1024;
// The largest zlib stream a grid can take (zlib's own bound for its size).
inline constexpr uint32_t kMaxCompressedGrid =
    static_cast<uint32_t>(kGridBytes + (kGridBytes >> 12) + (kGridBytes >> 14) + (kGridBytes >> 25) + 13);
// A picked point farther than this from the picking player's eye cannot come
// from its picture (the far plane is 100 units away).
inline constexpr double kMaxPickDistance = 200.0;
// Positions and distances beyond these are no game's values. (Angles only
// have to be finite: a world file may hold any heading and any pitch, and the
// pitch stays so until the player looks up or down.)
inline constexpr double kMaxFigureCoordinate = 1e4;
inline constexpr double kMaxMissileCoordinate = 1e15;
inline constexpr double kMaxEmeraldDistance = 1e4;
// A figure's state as the game makes it: jump frames, arm swing, item (8 is
// the weapon). A round starts with 10 lives and loses them one by one, a few
// past 0 to fire still burning at its end; the bound is far wider, but keeps
// the overlay's bar of lives from overflowing its pixel arithmetic.
inline constexpr int32_t kMaxJump = 8, kMaxMaterial = 8, kMaxLives = 1000;
inline constexpr double kMaxSwing = 45.0;

// The sounds of the game's events, played on both computers.
inline constexpr const char* kEventSounds[] = {"troffen", "btroffen", "launch", "gewonnen", "bomb"};
inline constexpr size_t kEventSoundCount = std::size(kEventSounds);

// ---- guest to host ----

struct THello {
    uint32_t code = 0;
    std::vector<uint8_t> skin;  // the guest player's skin file, empty for the default
    bool operator==(const THello&) const = default;
};

// Bits of TGuestInput::held: the first player's keys and buttons.
enum TGuestKey : uint32_t {
    kKeyForward = 1u << 0,   // W
    kKeyBackward = 1u << 1,  // S
    kKeyLeft = 1u << 2,      // A
    kKeyRight = 1u << 3,     // D
    kKeyFast = 1u << 4,      // Ctrl
    kKeyJump = 1u << 5,      // Space
    kKeyRemove = 1u << 6,    // left button
    kKeyPlace = 1u << 7,     // right button
    kKeyDigit1 = 1u << 8,    // digits 1 ... 9: bits 8 ... 16
};
inline constexpr uint32_t kKnownKeys = (1u << 17) - 1;

enum class TGuestEventKind : uint8_t {
    Place = 1,
    Remove = 2,      // dig, or fire with the weapon
    Escape = 3,
    WheelDown = 4,   // next item
    WheelUp = 5,     // previous item
    MenuThird = 6,   // "Neues Spiel" under "Beenden"
    MenuRight = 7,   // "Weiter spielen", or "Neues Spiel" of the round-end menu
};

// Something the guest's player did once. Repeated in every input until the
// host has acknowledged it, so a lost datagram loses nothing.
struct TGuestEvent {
    uint32_t id = 0;  // counts up by one per event of the game
    TGuestEventKind kind = TGuestEventKind::Escape;
    TWorldPoint nearPoint, picked;  // Place and Remove: the aim ray of the guest's picture
    bool operator==(const TGuestEvent&) const = default;
};

// Sent every frame (unreliable).
struct TGuestInput {
    uint32_t seq = 0;
    uint32_t round = 0;  // the round of the guest's replica
    uint32_t held = 0;   // TGuestKey bits
    double heading = 0, pitch = 0;  // mouse look runs on the guest
    std::vector<TGuestEvent> events;  // ids strictly increasing
    bool operator==(const TGuestInput&) const = default;
};

// The guest has the round's world and can play.
struct TRoundReady {
    uint32_t round = 0;
    bool operator==(const TRoundReady&) const = default;
};

using TGuestMessage = std::variant<THello, TGuestInput, TRoundReady>;

// ---- host to guest ----

struct TWelcome {
    bool creative = false, fight = false;
    std::vector<uint8_t> skin;  // the host player's skin file, empty for the default
    bool operator==(const TWelcome&) const = default;
};

// A whole grid follows in chunks: a new round's world, or the present world
// again when too many cells changed at once to list them.
struct TGridBegin {
    uint32_t round = 0;
    bool newRound = true;
    uint32_t compressedBytes = 0;
    double heading = 0, pitch = 0;  // the guest figure's look at the start of the round
    bool operator==(const TGridBegin&) const = default;
};

struct TGridChunk {
    std::vector<uint8_t> bytes;
    bool operator==(const TGridChunk&) const = default;
};

struct TCellChange {
    uint32_t offset = 0;  // flat cell index
    int32_t code = 0;
    bool operator==(const TCellChange&) const = default;
};

struct TCellChanges {
    uint32_t round = 0;
    std::vector<TCellChange> cells;
    bool operator==(const TCellChanges&) const = default;
};

struct TSoundEvent {
    uint8_t sound = 0;  // index into kEventSounds
    bool operator==(const TSoundEvent&) const = default;
};

// The round-end steps ran: the guest shows its cursor where the menu is.
struct TRoundEnded {
    bool operator==(const TRoundEnded&) const = default;
};

// What the guest draws or shows of one figure (host's record, not swapped).
struct TFigureSnapshot {
    double posx = 0, posy = 0, posz = 0, angle = 0, angle2 = 0;
    double swing = 0;  // sparmlinksrot / garmlinksrot
    int32_t jump = 0;
    bool walking = false;
    int32_t lives = 0;
    int32_t material = 0;
    bool missile = false;
    double missilex = 0, missiley = 0, missilez = 0;  // only with missile
    bool showdist = false;
    double lastdist = 0;  // only with showdist
    bool operator==(const TFigureSnapshot&) const = default;
};

// Sent every frame (unreliable, a late one is dropped).
struct TSnapshot {
    uint32_t frame = 0;
    uint32_t round = 0;
    uint32_t eventAck = 0;  // the last guest event the host has taken
    TFigureSnapshot first, second;
    bool quitmode = false, emeraldfound = false;
    bool secondWon = false;  // playerwin is not 0
    bool operator==(const TSnapshot&) const = default;
};

using THostMessage =
    std::variant<TWelcome, TGridBegin, TGridChunk, TCellChanges, TSoundEvent, TRoundEnded, TSnapshot>;

template <typename Message>
struct TDecoded {
    std::optional<Message> message;
    std::string error;  // why it was refused, when it was
};

std::vector<uint8_t> Encode(const TGuestMessage& message);
std::vector<uint8_t> Encode(const THostMessage& message);
TDecoded<TGuestMessage> DecodeGuestMessage(std::span<const uint8_t> bytes);
TDecoded<THostMessage> DecodeHostMessage(std::span<const uint8_t> bytes);

// Cell codes that the game writes while a round runs.
bool IsPlayCellCode(int32_t code);

}  // namespace qw::net
