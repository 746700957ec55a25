#pragma once
// The host's side of a network game: it waits for one guest with the right
// code, sends each round's world, takes the guest's input every frame and
// sends back what the guest draws. The host's record is the only one that is
// simulated; this class never touches it except to read it and to log the
// cells its frames write.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/EnetLink.h"
#include "net/JoinCode.h"
#include "net/Protocol.h"
#include "net/SilenceWatch.h"
#include "sim/RemoteControls.h"
#include "world/GameState.h"

namespace qw::net {

struct THostSettings {
    uint16_t port = kDefaultPort;
    bool creative = false, fight = false;
    std::vector<uint8_t> skin;  // the host player's skin file, empty for the default
    uint32_t code = 0;          // 0: a fresh one
};

// The guest's input gathered for one host frame.
struct THostFrameInput {
    TRemoteInput controls;
    std::vector<TGuestEventKind> menuClicks;  // MenuThird / MenuRight, in order
};

class THostSession {
public:
    enum class TPhase {
        Waiting,  // for a guest with the right code
        Joined,   // a guest is in; the game may start
        Ended,
    };

    // Empty, with `error` set, when the port cannot be opened.
    static std::unique_ptr<THostSession> Open(THostSettings settings, std::string& error);
    ~THostSession();

    uint32_t code() const { return settings_.code; }
    uint16_t port() const;
    TPhase phase() const { return phase_; }
    // Why the game ended, and for a malformed message what was wrong.
    TEndReason endReason() const { return endReason_; }
    const std::string& endDetail() const { return endDetail_; }
    const std::vector<uint8_t>& guestSkin() const { return guestSkin_; }

    // Services the network: connections, the handshake, the guest's input.
    // nowMs: any steady millisecond clock. waitMs: how long it may wait for
    // traffic (0 in a frame).
    void Poll(int64_t nowMs, uint32_t waitMs = 0);

    // After the round set-up: sends the whole world and holds the game until
    // the guest has it. From now on the cells that the game writes into
    // state.level are logged and passed on after each frame.
    void StartRound(TGameState& state);
    // The guest has the present round's world: frames may run.
    bool GuestReady() const { return readyRound_ == round_ && round_ != 0; }

    // The guest's input for the frame about to run, with its picked points
    // checked against where its figure stands in state. A point that cannot
    // come from the guest's picture ends the game as malformed.
    THostFrameInput TakeFrameInput(const TGameState& state, int64_t nowMs);
    // After a frame: the cells it changed, its event sounds, the round end
    // and the snapshot of what the guest draws.
    void SendFrame(const TGameState& state);
    // An event sound the frame played ("play <alias> from 0").
    void QueueSound(const std::string& alias);
    void QueueRoundEnded() { roundEnded_ = true; }

    // Ends the game and tells the guest why; waits at most waitMs for the
    // guest to take the news.
    void End(TEndReason reason, uint32_t waitMs = 0);

    uint64_t bytesSent() const { return link_->bytesSent(); }
    uint64_t bytesReceived() const { return link_->bytesReceived(); }

private:
    THostSession(THostSettings settings, std::unique_ptr<TEnetLink> link);
    void OnConnected(ENetPeer* peer, uint32_t data, int64_t nowMs);
    void OnDisconnected(ENetPeer* peer, uint32_t reason);
    void OnReceived(ENetPeer* peer, const std::vector<uint8_t>& bytes, int64_t nowMs);
    void CheckHello(int64_t nowMs);
    void TakeInput(const TGuestInput& input, int64_t nowMs);
    void Malformed(const std::string& why);
    void Refuse(ENetPeer* peer, TEndReason reason);
    void SendReliable(const THostMessage& message);
    void SendGrid(const TGameState& state, bool newRound);
    void SendCellChanges(const TGameState& state);

    THostSettings settings_;
    std::unique_ptr<TEnetLink> link_;
    TPhase phase_ = TPhase::Waiting;
    TEndReason endReason_ = TEndReason::None;
    std::string endDetail_;

    // The one connection that may become the guest, and its hello once it came.
    ENetPeer* candidate_ = nullptr;
    int64_t candidateSinceMs_ = 0;
    std::optional<THello> hello_;
    TWrongCodeBrake brake_;
    ENetPeer* guest_ = nullptr;
    TSilenceWatch silence_;
    std::vector<uint8_t> guestSkin_;

    uint32_t round_ = 0, readyRound_ = 0;
    uint32_t frame_ = 0;
    TLevel* loggedLevel_ = nullptr;
    std::vector<uint32_t> cellLog_;
    std::vector<uint8_t> sounds_;
    bool roundEnded_ = false;

    std::optional<TGuestInput> latest_;  // the newest input of the present round
    int64_t latestAtMs_ = 0;
    uint32_t lastEventId_ = 0;           // the last guest event taken
    std::deque<TGuestEvent> events_;     // taken, for the next frame
};

}  // namespace qw::net
