#pragma once
// A bad network between a guest and a host on this machine: a UDP forwarder
// on 127.0.0.1 that loses, delays (with jitter, so datagrams overtake each
// other) and repeats datagrams in both directions. The guest sends to
// port(); the relay passes on to the host's port from a socket of its own.
// It runs on a thread of its own, so it keeps forwarding while the test's
// thread waits inside a tick. What it decides for the n-th datagram of a
// direction depends only on the seed and n.
#include <netinet/in.h>

#include <cstdint>
#include <mutex>
#include <thread>

namespace qw::test {

// What the relay and its tests share: a steady clock in microseconds and
// the address of a port on 127.0.0.1.
int64_t SteadyMicroseconds();
sockaddr_in LoopbackAddress(uint16_t port);

struct TRelaySettings {
    uint64_t seed = 1;
    double dropShare = 0.05;
    double repeatShare = 0.02;
    int minDelayMs = 30, maxDelayMs = 80;
};

// What happened to the datagrams of one direction so far.
struct TRelayCounts {
    uint64_t arrived = 0;    // taken from the sender
    uint64_t dropped = 0;
    uint64_t repeated = 0;   // sent twice
    uint64_t delivered = 0;  // sent on, repeats included
    uint64_t overtaken = 0;  // delivered after a datagram that arrived later
};

class TLossyRelay {
public:
    TLossyRelay(uint16_t hostPort, const TRelaySettings& settings);
    ~TLossyRelay();
    TLossyRelay(const TLossyRelay&) = delete;
    TLossyRelay& operator=(const TLossyRelay&) = delete;

    bool ok() const { return guestSocket_ >= 0 && hostSocket_ >= 0; }
    // Where the guest connects to.
    uint16_t port() const { return port_; }
    TRelayCounts toHost() const;
    TRelayCounts toGuest() const;
    // While cut, every datagram of that direction is lost (a cable pulled
    // halfway); counted as dropped.
    void Cut(bool toHost, bool toGuest);

private:
    struct TDirection;
    void Run();

    TRelaySettings settings_;
    int guestSocket_ = -1, hostSocket_ = -1;
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    TRelayCounts toHost_, toGuest_;
    bool stop_ = false;
    bool cutToHost_ = false, cutToGuest_ = false;
    std::thread thread_;
};

}  // namespace qw::test
