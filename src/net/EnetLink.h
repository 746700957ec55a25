#pragma once
// One ENet host (the UDP socket and its peers), polled from the game's one
// thread: no thread of its own, every call returns at once unless told to
// wait. The sessions above it speak only in whole messages.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <enet/enet.h>

namespace qw::net {

struct TLinkEvent {
    enum class Kind { None, Connected, Received, Disconnected };
    Kind kind = Kind::None;
    ENetPeer* peer = nullptr;
    uint32_t data = 0;  // Connected: the peer's request data; Disconnected: its reason
    uint8_t channel = 0;
    std::vector<uint8_t> bytes;  // Received
};

class TEnetLink {
public:
    // A host that listens on `port` of every IPv4 address; empty and `error`
    // set when the port cannot be had.
    static std::unique_ptr<TEnetLink> Listen(uint16_t port, size_t peerCount, std::string& error);
    // A host that only connects out.
    static std::unique_ptr<TEnetLink> Client(std::string& error);
    ~TEnetLink();
    TEnetLink(const TEnetLink&) = delete;
    TEnetLink& operator=(const TEnetLink&) = delete;

    // address: IPv4 in network byte order.
    ENetPeer* Connect(uint32_t address, uint16_t port, uint32_t data);

    // The next event, waiting at most waitMs for one; false when none came.
    bool Next(TLinkEvent& event, uint32_t waitMs = 0);
    void Send(ENetPeer* peer, uint8_t channel, const std::vector<uint8_t>& bytes, bool reliable);
    // Sends what is queued now rather than at the next Next.
    void Flush();
    // ENet's own limit: a peer that acknowledges nothing for this long is gone.
    static void SetTimeout(ENetPeer* peer);

    uint16_t port() const;
    // Bytes sent and received through the socket so far.
    uint64_t bytesSent() const { return bytesSent_ + host_->totalSentData; }
    uint64_t bytesReceived() const { return bytesReceived_ + host_->totalReceivedData; }

private:
    explicit TEnetLink(ENetHost* host) : host_(host) {}
    // Keeps ENet's estimate of each peer's round trip below where a stall of
    // the other computer would make a lost datagram fatal.
    void BoundRoundTrips();
    ENetHost* host_;
    uint64_t bytesSent_ = 0, bytesReceived_ = 0;  // folded in before ENet's 32-bit counters could wrap
};

}  // namespace qw::net
