#include "net/GuestSession.h"

#include <algorithm>
#include <stdexcept>

#include "net/Replica.h"
#include "world/GridStream.h"

namespace qw::net {

namespace {
// Finding and reaching the host may take this long.
constexpr int64_t kReachTimeoutMs = 10000;
}  // namespace

std::unique_ptr<TGuestSession> TGuestSession::Start(TGuestSettings settings, int64_t nowMs, std::string& error) {
    const std::optional<THostText> host = ParseHostText(settings.host, kDefaultPort);
    if (!host) {
        error = "Die Adresse des Gastgebers ist ungültig.";
        return nullptr;
    }
    auto link = TEnetLink::Client(error);
    if (!link) return nullptr;
    return std::unique_ptr<TGuestSession>(new TGuestSession(std::move(settings), *host, std::move(link), nowMs));
}

TGuestSession::TGuestSession(TGuestSettings settings, THostText host, std::unique_ptr<TEnetLink> link, int64_t nowMs)
    : settings_(std::move(settings)),
      host_(std::move(host)),
      link_(std::move(link)),
      lookup_(std::make_unique<THostLookup>(host_.name)),
      startedMs_(nowMs) {}

TGuestSession::~TGuestSession() {
    if (phase_ != TPhase::Ended) End(TEndReason::Cancelled);
}

void TGuestSession::StartConnecting(uint32_t address) {
    peer_ = link_->Connect(address, host_.port, kProtocolVersion);
    if (peer_ == nullptr) {
        unreachable_ = true;
        phase_ = TPhase::Ended;
        endReason_ = TEndReason::Lost;
        return;
    }
    phase_ = TPhase::Connecting;
    link_->Flush();
}

void TGuestSession::Poll(int64_t nowMs, TGameState& replica, uint32_t waitMs) {
    if (phase_ == TPhase::Finding) {
        if (!lookup_->Done()) {
            if (nowMs - startedMs_ > kReachTimeoutMs) {
                unreachable_ = true;
                End(TEndReason::Lost);
            }
            return;
        }
        if (!lookup_->address()) {
            unreachable_ = true;
            End(TEndReason::Lost);
            return;
        }
        StartConnecting(*lookup_->address());
    }
    TLinkEvent event;
    while (link_->Next(event, waitMs)) {
        waitMs = 0;
        if (phase_ == TPhase::Ended || event.peer != peer_) continue;  // only the last words
        switch (event.kind) {
            case TLinkEvent::Kind::Connected:
                phase_ = TPhase::Joining;
                silence_.Start(nowMs, peer_->lastReceiveTime);
                link_->Send(peer_, kReliableChannel, Encode(THello{settings_.code, settings_.skin}), true);
                link_->Flush();
                break;
            case TLinkEvent::Kind::Disconnected:
                if (phase_ == TPhase::Connecting) unreachable_ = true;
                phase_ = TPhase::Ended;
                // ENet reports a timeout with no reason.
                endReason_ = event.data == 0 ? TEndReason::Lost : static_cast<TEndReason>(event.data);
                peer_ = nullptr;
                break;
            case TLinkEvent::Kind::Received:
                silence_.Heard(nowMs);
                OnReceived(event.bytes, replica);
                break;
            case TLinkEvent::Kind::None:
                break;
        }
    }
    const bool connected = phase_ == TPhase::Joining || phase_ == TPhase::Receiving || phase_ == TPhase::Playing;
    if (connected && peer_ && silence_.Silent(nowMs, peer_->lastReceiveTime)) {
        // Gone without a word; nothing is sent after it.
        enet_peer_reset(peer_);
        peer_ = nullptr;
        grid_.reset();
        phase_ = TPhase::Ended;
        endReason_ = TEndReason::Lost;
        return;
    }
    if (phase_ == TPhase::Connecting && nowMs - startedMs_ > kReachTimeoutMs) {
        unreachable_ = true;
        End(TEndReason::Lost);
    }
}

void TGuestSession::OnReceived(const std::vector<uint8_t>& bytes, TGameState& replica) {
    TDecoded<THostMessage> decoded = DecodeHostMessage(bytes);
    if (!decoded.message) return Malformed(decoded.error);
    THostMessage& message = *decoded.message;
    const bool joined = phase_ == TPhase::Receiving || phase_ == TPhase::Playing;
    if (auto* welcome = std::get_if<TWelcome>(&message)) {
        if (phase_ != TPhase::Joining) return Malformed("a second welcome");
        welcome_ = std::move(*welcome);
        replica.modusformKreativCheckchecked = welcome_.creative;
        replica.modusformFightCheckchecked = welcome_.fight;
        replica.multiplayer = true;
        phase_ = TPhase::Receiving;
        return;
    }
    if (!joined) return Malformed("a message before the welcome");
    if (auto* begin = std::get_if<TGridBegin>(&message)) {
        if (begin->newRound ? begin->round <= round_ : begin->round != round_) return Malformed("a grid of another round");
        grid_ = TGridTransfer{*begin, {}};
        grid_->bytes.reserve(std::min<size_t>(begin->compressedBytes, 8 * kGridChunkBytes));
        return;
    }
    if (auto* chunk = std::get_if<TGridChunk>(&message)) return OnGridChunk(*chunk, replica);
    if (auto* cells = std::get_if<TCellChanges>(&message)) {
        if (cells->round > round_ || grid_) return Malformed("cells of a round not started");
        if (cells->round < round_) return;  // the round is over
        for (const TCellChange& c : cells->cells) replica.level.data()[c.offset] = c.code;
        return;
    }
    if (auto* sound = std::get_if<TSoundEvent>(&message)) {
        sounds_.emplace_back(kEventSounds[sound->sound]);
        return;
    }
    if (std::holds_alternative<TRoundEnded>(message)) {
        roundEnded_ = true;
        return;
    }
    OnSnapshot(std::get<TSnapshot>(message), replica);
}

void TGuestSession::OnGridChunk(const TGridChunk& chunk, TGameState& replica) {
    if (!grid_) return Malformed("a grid chunk without its header");
    if (grid_->bytes.size() + chunk.bytes.size() > grid_->begin.compressedBytes) return Malformed("a grid too long");
    grid_->bytes.insert(grid_->bytes.end(), chunk.bytes.begin(), chunk.bytes.end());
    if (grid_->bytes.size() < grid_->begin.compressedBytes) return;

    // The same capped, checked inflater as a world file's.
    replica.level.clear();
    InflateEnd end;
    try {
        end = InflateGridBytes(grid_->bytes, replica.level);
    } catch (const std::runtime_error& e) {
        replica.level.clear();
        return Malformed(std::string("a damaged grid: ") + e.what());
    }
    if (end != InflateEnd::StreamEnd) {
        replica.level.clear();
        return Malformed("a grid of the wrong size");
    }
    const TGridBegin begin = grid_->begin;
    grid_.reset();
    if (!begin.newRound) return;
    round_ = begin.round;
    newRound_ = true;
    // The round starts with the look its set-up gave the guest's figure, and
    // what was done in the last round no longer applies.
    replica.angle = begin.heading;
    replica.angle2 = begin.pitch;
    unacked_.clear();
    phase_ = TPhase::Playing;
    link_->Send(peer_, kReliableChannel, Encode(TRoundReady{round_}), true);
    link_->Flush();
}

void TGuestSession::OnSnapshot(const TSnapshot& snapshot, TGameState& replica) {
    if (phase_ != TPhase::Playing || snapshot.round != round_ || snapshot.frame <= lastFrame_) return;
    if (snapshot.eventAck >= nextEventId_) return Malformed("an acknowledgement of events never sent");
    lastFrame_ = snapshot.frame;
    while (!unacked_.empty() && unacked_.front().id <= snapshot.eventAck) unacked_.pop_front();
    ApplySnapshot(replica, snapshot, !snapshot.quitmode);
}

double TGuestSession::ReceivedShare() const {
    if (!grid_) return 0.0;
    return static_cast<double>(grid_->bytes.size()) / grid_->begin.compressedBytes;
}

bool TGuestSession::TakeNewRound() { return std::exchange(newRound_, false); }

std::vector<std::string> TGuestSession::TakeSounds() { return std::exchange(sounds_, {}); }

bool TGuestSession::TakeRoundEnded() { return std::exchange(roundEnded_, false); }

void TGuestSession::QueueEvent(TGuestEventKind kind, const TAimRay& ray) {
    // More than a message holds are not waiting on a link that still works.
    if (phase_ != TPhase::Playing || unacked_.size() >= kMaxEventsPerInput) return;
    unacked_.push_back(TGuestEvent{nextEventId_++, kind, ray.nearPoint, ray.picked});
}

void TGuestSession::SendInput(uint32_t held, double heading, double pitch) {
    if (phase_ != TPhase::Playing) return;
    TGuestInput input{++inputSeq_, round_, held & kKnownKeys, heading, pitch,
                      std::vector<TGuestEvent>(unacked_.begin(), unacked_.end())};
    link_->Send(peer_, kStateChannel, Encode(input), false);
    link_->Flush();
}

void TGuestSession::Malformed(const std::string& why) {
    End(TEndReason::Malformed);
    endDetail_ = why;
}

void TGuestSession::End(TEndReason reason, uint32_t waitMs) {
    if (phase_ == TPhase::Ended) return;
    phase_ = TPhase::Ended;
    endReason_ = reason;
    grid_.reset();
    if (!peer_) return;
    ENetPeer* peer = peer_;
    peer_ = nullptr;
    enet_peer_disconnect(peer, static_cast<uint32_t>(reason));
    link_->Flush();
    TLinkEvent event;
    const int64_t start = static_cast<int64_t>(enet_time_get());
    while (waitMs > 0 && static_cast<int64_t>(enet_time_get()) - start < waitMs) {
        if (link_->Next(event, 10) && event.kind == TLinkEvent::Kind::Disconnected && event.peer == peer) return;
    }
    if (waitMs > 0) enet_peer_disconnect_now(peer, static_cast<uint32_t>(reason));
}

}  // namespace qw::net
