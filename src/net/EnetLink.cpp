#include "net/EnetLink.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "net/Protocol.h"

namespace qw::net {

namespace {

// A peer that answers nothing for 10 s has gone (its program died, the cable
// is out); ENet would wait 30 s.
constexpr enet_uint32 kTimeoutMinimumMs = 5000;
constexpr enet_uint32 kTimeoutMaximumMs = 10000;
constexpr uint32_t kFoldCountersAt = 1u << 30;
// ENet's round trip to a peer takes in any time that the peer's computer
// stood still (a new round's world being made there takes seconds in a slow
// build): one such stall lifts the retransmission timeout (round trip plus
// four times its variance) past the 10 s after which the peer counts as
// gone, and the next datagram lost then ends the game. Kept below these, a
// lost datagram is sent again within 2 s; real round trips stay far below.
constexpr enet_uint32 kMaxRoundTripMs = 1000;
constexpr enet_uint32 kMaxRoundTripVarianceMs = 250;

bool StartEnet() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        started = enet_initialize() == 0;
        if (started) std::atexit(enet_deinitialize);
    });
    return started;
}

}  // namespace

std::unique_ptr<TEnetLink> TEnetLink::Listen(uint16_t port, size_t peerCount, std::string& error) {
    if (!StartEnet()) {
        error = "ENet konnte nicht gestartet werden";
        return nullptr;
    }
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    ENetHost* host = enet_host_create(&address, peerCount, kChannelCount, 0, 0);
    if (host == nullptr) {
        error = "Der Port " + std::to_string(port) + " ist schon belegt oder nicht erlaubt";
        return nullptr;
    }
    return std::unique_ptr<TEnetLink>(new TEnetLink(host));
}

std::unique_ptr<TEnetLink> TEnetLink::Client(std::string& error) {
    if (!StartEnet()) {
        error = "ENet konnte nicht gestartet werden";
        return nullptr;
    }
    ENetHost* host = enet_host_create(nullptr, 1, kChannelCount, 0, 0);
    if (host == nullptr) {
        error = "Es konnte kein Netzwerkanschluss geöffnet werden";
        return nullptr;
    }
    return std::unique_ptr<TEnetLink>(new TEnetLink(host));
}

TEnetLink::~TEnetLink() { enet_host_destroy(host_); }

ENetPeer* TEnetLink::Connect(uint32_t address, uint16_t port, uint32_t data) {
    ENetAddress target{};
    target.host = address;
    target.port = port;
    ENetPeer* peer = enet_host_connect(host_, &target, kChannelCount, data);
    if (peer != nullptr) SetTimeout(peer);
    return peer;
}

void TEnetLink::SetTimeout(ENetPeer* peer) { enet_peer_timeout(peer, 0, kTimeoutMinimumMs, kTimeoutMaximumMs); }

void TEnetLink::BoundRoundTrips() {
    for (size_t i = 0; i < host_->peerCount; ++i) {
        ENetPeer& peer = host_->peers[i];
        if (peer.state != ENET_PEER_STATE_CONNECTED) continue;
        peer.roundTripTime = std::min(peer.roundTripTime, kMaxRoundTripMs);
        peer.roundTripTimeVariance = std::min(peer.roundTripTimeVariance, kMaxRoundTripVarianceMs);
    }
}

bool TEnetLink::Next(TLinkEvent& event, uint32_t waitMs) {
    ENetEvent raw;
    const int got = enet_host_service(host_, &raw, waitMs);
    BoundRoundTrips();
    if (host_->totalSentData > kFoldCountersAt || host_->totalReceivedData > kFoldCountersAt) {
        bytesSent_ += host_->totalSentData;
        bytesReceived_ += host_->totalReceivedData;
        host_->totalSentData = host_->totalReceivedData = 0;
    }
    if (got <= 0) return false;
    event = TLinkEvent{};
    event.peer = raw.peer;
    event.data = raw.data;
    switch (raw.type) {
        case ENET_EVENT_TYPE_CONNECT:
            event.kind = TLinkEvent::Kind::Connected;
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            event.kind = TLinkEvent::Kind::Disconnected;
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            event.kind = TLinkEvent::Kind::Received;
            event.channel = raw.channelID;
            event.bytes.assign(raw.packet->data, raw.packet->data + raw.packet->dataLength);
            enet_packet_destroy(raw.packet);
            break;
        case ENET_EVENT_TYPE_NONE:
            return false;
    }
    return true;
}

void TEnetLink::Send(ENetPeer* peer, uint8_t channel, const std::vector<uint8_t>& bytes, bool reliable) {
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    // On failure ENet has not taken the packet.
    if (enet_peer_send(peer, channel, packet) != 0) enet_packet_destroy(packet);
}

void TEnetLink::Flush() {
    BoundRoundTrips();
    enet_host_flush(host_);
}

uint16_t TEnetLink::port() const { return host_->address.port; }

}  // namespace qw::net
