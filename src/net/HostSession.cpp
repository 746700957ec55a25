#include "net/HostSession.h"

#include <algorithm>
#include <cmath>

#include "net/Replica.h"
#include "world/GridStream.h"

namespace qw::net {

namespace {

constexpr size_t kPeerSlots = 4;             // one guest, one handshake, the rest are told "busy"
constexpr int64_t kHelloTimeoutMs = 5000;    // a connection that sends no hello is closed
constexpr int64_t kStaleInputMs = 250;       // no input for this long: the guest's keys count as let go
constexpr size_t kMaxQueuedEvents = 256;
constexpr double kEyeHeight = 8.0;

// A point of the guest's picture moved by whole world periods to lie next to
// the guest's eye as the host has it; the two may be on different sides of
// the wrap when the figure has just crossed it.
TWorldPoint NearEye(const TWorldPoint& p, const TWorldPoint& eye) {
    const auto shift = [](double v, double centre) {
        return v - kWorldPeriod * std::nearbyint((v - centre) / kWorldPeriod);
    };
    return {shift(p.x, eye.x), shift(p.y, eye.y), shift(p.z, eye.z)};
}

double Distance(const TWorldPoint& a, const TWorldPoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

}  // namespace

std::unique_ptr<THostSession> THostSession::Open(THostSettings settings, std::string& error) {
    auto link = TEnetLink::Listen(settings.port, kPeerSlots, error);
    if (!link) return nullptr;
    if (settings.code == 0) settings.code = MakeJoinCode();
    return std::unique_ptr<THostSession>(new THostSession(std::move(settings), std::move(link)));
}

THostSession::THostSession(THostSettings settings, std::unique_ptr<TEnetLink> link)
    : settings_(std::move(settings)), link_(std::move(link)) {}

THostSession::~THostSession() {
    if (phase_ != TPhase::Ended) End(TEndReason::Cancelled);
    if (loggedLevel_) loggedLevel_->LogWritesTo(nullptr);
}

uint16_t THostSession::port() const { return link_->port(); }

void THostSession::Poll(int64_t nowMs, uint32_t waitMs) {
    TLinkEvent event;
    if (phase_ == TPhase::Ended) {
        // Only so that the last words reach the guest.
        while (link_->Next(event, 0)) {
        }
        return;
    }
    while (phase_ != TPhase::Ended && link_->Next(event, waitMs)) {
        waitMs = 0;
        switch (event.kind) {
            case TLinkEvent::Kind::Connected: OnConnected(event.peer, event.data, nowMs); break;
            case TLinkEvent::Kind::Disconnected: OnDisconnected(event.peer, event.data); break;
            case TLinkEvent::Kind::Received: OnReceived(event.peer, event.bytes, nowMs); break;
            case TLinkEvent::Kind::None: break;
        }
    }
    if (guest_ && phase_ == TPhase::Joined && silence_.Silent(nowMs, guest_->lastReceiveTime)) {
        // Gone without a word; nothing is sent after it.
        enet_peer_reset(guest_);
        guest_ = nullptr;
        phase_ = TPhase::Ended;
        endReason_ = TEndReason::Lost;
        return;
    }
    if (candidate_ && !hello_ && nowMs - candidateSinceMs_ > kHelloTimeoutMs) {
        Refuse(candidate_, TEndReason::Cancelled);
        candidate_ = nullptr;
    }
    CheckHello(nowMs);
}

void THostSession::OnConnected(ENetPeer* peer, uint32_t data, int64_t nowMs) {
    if (phase_ != TPhase::Waiting || candidate_ != nullptr) {
        Refuse(peer, TEndReason::Busy);
    } else if (data != kProtocolVersion) {
        Refuse(peer, TEndReason::OtherVersion);
    } else {
        candidate_ = peer;
        candidateSinceMs_ = nowMs;
        TEnetLink::SetTimeout(peer);
    }
}

void THostSession::OnDisconnected(ENetPeer* peer, uint32_t reason) {
    if (peer == candidate_) {
        candidate_ = nullptr;
        hello_.reset();
    } else if (peer == guest_) {
        guest_ = nullptr;
        phase_ = TPhase::Ended;
        // ENet reports a timeout with no reason.
        endReason_ = reason == 0 ? TEndReason::Lost : static_cast<TEndReason>(reason);
    }
}

void THostSession::OnReceived(ENetPeer* peer, const std::vector<uint8_t>& bytes, int64_t nowMs) {
    if (peer != candidate_ && peer != guest_) return;  // on its way out
    if (peer == guest_) silence_.Heard(nowMs);
    TDecoded<TGuestMessage> decoded = DecodeGuestMessage(bytes);
    if (peer == candidate_) {
        // Before the code is right only a hello is taken, once.
        const THello* hello = decoded.message ? std::get_if<THello>(&*decoded.message) : nullptr;
        if (hello == nullptr || hello_) {
            Refuse(candidate_, TEndReason::Malformed);
            candidate_ = nullptr;
            hello_.reset();
            return;
        }
        hello_ = *hello;
        return;
    }
    if (!decoded.message) return Malformed(decoded.error);
    if (const auto* input = std::get_if<TGuestInput>(&*decoded.message)) return TakeInput(*input, nowMs);
    if (const auto* ready = std::get_if<TRoundReady>(&*decoded.message)) {
        if (ready->round > round_) return Malformed("ready for a round not started");
        if (ready->round == round_) readyRound_ = round_;
        return;
    }
    Malformed("a second hello");
}

void THostSession::CheckHello(int64_t nowMs) {
    if (!hello_ || !candidate_ || !brake_.MayCheck(nowMs)) return;
    if (hello_->code != settings_.code) {
        brake_.Wrong(nowMs);
        Refuse(candidate_, TEndReason::WrongCode);
        candidate_ = nullptr;
        hello_.reset();
        return;
    }
    brake_.Right();
    guest_ = candidate_;
    candidate_ = nullptr;
    guestSkin_ = std::move(hello_->skin);
    hello_.reset();
    phase_ = TPhase::Joined;
    silence_.Start(nowMs, guest_->lastReceiveTime);
    SendReliable(TWelcome{settings_.creative, settings_.fight, settings_.skin});
    link_->Flush();
}

void THostSession::TakeInput(const TGuestInput& input, int64_t nowMs) {
    if (input.round > round_) return Malformed("input for a round not started");
    for (const TGuestEvent& e : input.events) {
        if (e.id <= lastEventId_) continue;  // taken from an earlier copy
        lastEventId_ = e.id;
        // What was done in a round that is over no longer applies.
        if (input.round == round_) events_.push_back(e);
    }
    if (events_.size() > kMaxQueuedEvents) return Malformed("too many events");
    if (input.round == round_ && (!latest_ || input.seq > latest_->seq)) {
        latest_ = input;
        latest_->events.clear();
        latestAtMs_ = nowMs;
    }
}

THostFrameInput THostSession::TakeFrameInput(const TGameState& s, int64_t nowMs) {
    THostFrameInput frame;
    TRemoteInput& in = frame.controls;
    const uint32_t held = latest_ && nowMs - latestAtMs_ <= kStaleInputMs ? latest_->held : 0;
    in.forward = (held & kKeyForward) != 0;
    in.backward = (held & kKeyBackward) != 0;
    in.strafeLeft = (held & kKeyLeft) != 0;
    in.strafeRight = (held & kKeyRight) != 0;
    in.fast = (held & kKeyFast) != 0;
    in.jump = (held & kKeyJump) != 0;
    in.removeHeld = (held & kKeyRemove) != 0;
    in.placeHeld = (held & kKeyPlace) != 0;
    in.digitsHeld = static_cast<uint16_t>((held / kKeyDigit1) & 0x1FF);
    in.heading = latest_ ? latest_->heading : s.gangle;
    in.pitch = latest_ ? latest_->pitch : s.gangle2;

    const TWorldPoint eye{-s.gposx, -s.gposy + kEyeHeight, -s.gposz};
    while (!events_.empty() && phase_ != TPhase::Ended) {
        const TGuestEvent e = events_.front();
        events_.pop_front();
        switch (e.kind) {
            case TGuestEventKind::Place:
            case TGuestEventKind::Remove: {
                const TAimRay ray{NearEye(e.nearPoint, eye), NearEye(e.picked, eye)};
                if (Distance(ray.nearPoint, eye) > kMaxPickDistance || Distance(ray.picked, eye) > kMaxPickDistance) {
                    Malformed("a picked point far from the guest's eye");
                    return {};
                }
                in.edits.push_back({e.kind == TGuestEventKind::Place, ray});
                break;
            }
            case TGuestEventKind::Escape: ++in.escapePresses; break;
            case TGuestEventKind::WheelDown: ++in.wheelSteps; break;
            case TGuestEventKind::WheelUp: --in.wheelSteps; break;
            case TGuestEventKind::MenuThird:
            case TGuestEventKind::MenuRight: frame.menuClicks.push_back(e.kind); break;
        }
    }
    return frame;
}

void THostSession::StartRound(TGameState& state) {
    if (phase_ != TPhase::Joined) return;
    ++round_;
    if (loggedLevel_ != &state.level) {
        if (loggedLevel_) loggedLevel_->LogWritesTo(nullptr);
        loggedLevel_ = &state.level;
        state.level.LogWritesTo(&cellLog_);
    }
    cellLog_.clear();
    events_.clear();
    latest_.reset();
    SendGrid(state, true);
}

void THostSession::SendGrid(const TGameState& state, bool newRound) {
    const std::vector<uint8_t> block = DeflateGridBytes(state.level);
    SendReliable(TGridBegin{round_, newRound, static_cast<uint32_t>(block.size()), state.gangle, state.gangle2});
    for (size_t at = 0; at < block.size(); at += kGridChunkBytes) {
        const size_t end = std::min(block.size(), at + kGridChunkBytes);
        SendReliable(TGridChunk{std::vector<uint8_t>(block.begin() + static_cast<std::ptrdiff_t>(at),
                                                     block.begin() + static_cast<std::ptrdiff_t>(end))});
    }
    link_->Flush();
}

void THostSession::SendCellChanges(const TGameState& state) {
    if (cellLog_.empty()) return;
    std::sort(cellLog_.begin(), cellLog_.end());
    cellLog_.erase(std::unique(cellLog_.begin(), cellLog_.end()), cellLog_.end());
    if (cellLog_.size() > kMaxCellChanges) {
        // A fire in a world full of its code: the whole grid is shorter.
        SendGrid(state, false);
    } else {
        TCellChanges changes{round_, {}};
        changes.cells.reserve(cellLog_.size());
        for (uint32_t offset : cellLog_) changes.cells.push_back({offset, state.level.data()[offset]});
        SendReliable(changes);
    }
    cellLog_.clear();
}

void THostSession::SendFrame(const TGameState& state) {
    if (phase_ != TPhase::Joined) return;
    SendCellChanges(state);
    for (uint8_t sound : sounds_) SendReliable(TSoundEvent{sound});
    sounds_.clear();
    if (roundEnded_) SendReliable(TRoundEnded{});
    roundEnded_ = false;
    TSnapshot snapshot = TakeSnapshot(state);
    snapshot.frame = ++frame_;
    snapshot.round = round_;
    snapshot.eventAck = lastEventId_;
    link_->Send(guest_, kStateChannel, Encode(snapshot), false);
    link_->Flush();
}

void THostSession::QueueSound(const std::string& alias) {
    for (size_t i = 0; i < kEventSoundCount; ++i)
        if (alias == kEventSounds[i]) sounds_.push_back(static_cast<uint8_t>(i));
}

void THostSession::SendReliable(const THostMessage& message) {
    if (guest_) link_->Send(guest_, kReliableChannel, Encode(message), true);
}

void THostSession::Refuse(ENetPeer* peer, TEndReason reason) {
    enet_peer_disconnect(peer, static_cast<uint32_t>(reason));
}

void THostSession::Malformed(const std::string& why) {
    End(TEndReason::Malformed);
    endDetail_ = why;
}

void THostSession::End(TEndReason reason, uint32_t waitMs) {
    if (phase_ == TPhase::Ended) return;
    phase_ = TPhase::Ended;
    endReason_ = reason;
    if (candidate_) Refuse(candidate_, TEndReason::Cancelled);
    candidate_ = nullptr;
    if (!guest_) return;
    ENetPeer* guest = guest_;
    guest_ = nullptr;
    Refuse(guest, reason);
    link_->Flush();
    // Give the guest the chance to hear why before the socket goes.
    TLinkEvent event;
    const int64_t start = static_cast<int64_t>(enet_time_get());
    while (waitMs > 0 && static_cast<int64_t>(enet_time_get()) - start < waitMs) {
        if (link_->Next(event, 10) && event.kind == TLinkEvent::Kind::Disconnected && event.peer == guest) return;
    }
    if (waitMs > 0) enet_peer_disconnect_now(guest, static_cast<uint32_t>(reason));
}

}  // namespace qw::net
