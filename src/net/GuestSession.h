#pragma once
// The guest's side of a network game: it finds the host, joins with the
// code, receives each round's world into the replica and keeps the replica
// up to date from the host's snapshots and cell changes; every frame it
// sends its player's input. Nothing it receives is written to disk.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/EnetLink.h"
#include "net/HostAddress.h"
#include "net/Protocol.h"
#include "net/SilenceWatch.h"
#include "sim/BlockEditing.h"
#include "world/GameState.h"

namespace qw::net {

struct TGuestSettings {
    std::string host;  // "name or address[:port]"
    uint32_t code = 0;
    std::vector<uint8_t> skin;  // the guest player's skin file, empty for the default
};

class TGuestSession {
public:
    enum class TPhase {
        Finding,     // looking the host's name up
        Connecting,  // waiting for the host to answer
        Joining,     // connected, waiting for the code to be taken
        Receiving,   // the first world is on its way
        Playing,
        Ended,
    };

    // Empty, with `error` set, when the host text cannot be a host.
    static std::unique_ptr<TGuestSession> Start(TGuestSettings settings, int64_t nowMs, std::string& error);
    ~TGuestSession();

    TPhase phase() const { return phase_; }
    TEndReason endReason() const { return endReason_; }
    const std::string& endDetail() const { return endDetail_; }
    // The host could not be found or did not answer in time.
    bool Unreachable() const { return unreachable_; }
    const TWelcome& welcome() const { return welcome_; }

    // Services the network and brings what arrived into the replica.
    void Poll(int64_t nowMs, TGameState& replica, uint32_t waitMs = 0);

    // A world is on its way (the first or a new round's); done is how far.
    bool Receiving() const { return grid_.has_value(); }
    double ReceivedShare() const;
    // The round whose world the replica holds; 0 before the first.
    uint32_t round() const { return round_; }
    // True once after a new round's world has arrived.
    bool TakeNewRound();
    // The event sounds and the round end that arrived since the last call.
    std::vector<std::string> TakeSounds();
    bool TakeRoundEnded();

    // Something the guest's player did once (a Place or Remove with its ray).
    void QueueEvent(TGuestEventKind kind, const TAimRay& ray = {});
    // The input of this frame, with every event the host has not taken yet.
    void SendInput(uint32_t held, double heading, double pitch);

    // Ends the game and tells the host why; waits at most waitMs for the
    // host to take the news.
    void End(TEndReason reason, uint32_t waitMs = 0);

    uint64_t bytesSent() const { return link_->bytesSent(); }
    uint64_t bytesReceived() const { return link_->bytesReceived(); }

private:
    TGuestSession(TGuestSettings settings, THostText host, std::unique_ptr<TEnetLink> link, int64_t nowMs);
    void StartConnecting(uint32_t address);
    void OnReceived(const std::vector<uint8_t>& bytes, TGameState& replica);
    void OnGridChunk(const TGridChunk& chunk, TGameState& replica);
    void OnSnapshot(const TSnapshot& snapshot, TGameState& replica);
    void Malformed(const std::string& why);

    TGuestSettings settings_;
    THostText host_;
    std::unique_ptr<TEnetLink> link_;
    std::unique_ptr<THostLookup> lookup_;
    ENetPeer* peer_ = nullptr;
    TSilenceWatch silence_;
    TPhase phase_ = TPhase::Finding;
    TEndReason endReason_ = TEndReason::None;
    std::string endDetail_;
    bool unreachable_ = false;
    int64_t startedMs_ = 0;
    TWelcome welcome_;

    struct TGridTransfer {
        TGridBegin begin;
        std::vector<uint8_t> bytes;
    };
    std::optional<TGridTransfer> grid_;
    uint32_t round_ = 0;
    bool newRound_ = false;
    uint32_t lastFrame_ = 0;
    std::vector<std::string> sounds_;
    bool roundEnded_ = false;

    uint32_t inputSeq_ = 0;
    uint32_t nextEventId_ = 1;
    std::deque<TGuestEvent> unacked_;
};

}  // namespace qw::net
