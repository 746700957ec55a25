// The test relay really loses, delays, reorders and repeats, both ways, and
// decides the same for the same seed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "LossyRelay.h"
#include "LoopbackPair.h"

namespace qw::test {
namespace {

constexpr int kDatagrams = 1000;

class TUdpEnd {
public:
    TUdpEnd() {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a = LoopbackAddress(0);
        socklen_t length = sizeof a;
        bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
    }
    ~TUdpEnd() { close(fd_); }
    uint16_t port() const { return port_; }

    // Datagram n carries n and when it was sent.
    void Send(const sockaddr_in& to, uint32_t n) {
        uint8_t bytes[12];
        const int64_t at = SteadyMicroseconds();
        std::memcpy(bytes, &n, 4);
        std::memcpy(bytes + 4, &at, 8);
        sendto(fd_, bytes, sizeof bytes, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }

    struct TGot {
        uint32_t n;
        int64_t delayUs;
    };
    // What arrived, in order; `from` is where the last one came from.
    void Receive(std::vector<TGot>& got, sockaddr_in& from) {
        uint8_t bytes[64];
        socklen_t length = sizeof from;
        while (recvfrom(fd_, bytes, sizeof bytes, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &length) == 12) {
            TGot g;
            int64_t at;
            std::memcpy(&g.n, bytes, 4);
            std::memcpy(&at, bytes + 4, 8);
            g.delayUs = SteadyMicroseconds() - at;
            got.push_back(g);
        }
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

struct TTraffic {
    std::vector<TUdpEnd::TGot> atHost, atGuest;
    TRelayCounts toHost, toGuest;
};

// kDatagrams each way through a relay with the seed, a few a millisecond
// (a burst would overflow the sockets' buffers); waits at most 3 s.
TTraffic Exchange(uint64_t seed) {
    TUdpEnd host, guest;
    TLossyRelay relay(host.port(), TRelaySettings{seed});
    EXPECT_TRUE(relay.ok());
    TTraffic t;
    sockaddr_in relayAtHost{}, from{};
    uint32_t sentToHost = 0, sentToGuest = 0;
    const auto done = [](const TRelayCounts& c) {
        return c.arrived == kDatagrams && c.delivered == c.arrived - c.dropped + c.repeated;
    };
    const int64_t start = NowMs();
    while (NowMs() - start < 3000 && !(done(t.toHost) && done(t.toGuest))) {
        if (sentToHost < kDatagrams) guest.Send(LoopbackAddress(relay.port()), sentToHost++);
        // The host answers to where the guest's datagrams come from.
        if (!t.atHost.empty() && sentToGuest < kDatagrams) host.Send(relayAtHost, sentToGuest++);
        host.Receive(t.atHost, relayAtHost);
        guest.Receive(t.atGuest, from);
        t.toHost = relay.toHost();
        t.toGuest = relay.toGuest();
        usleep(200);
    }
    usleep(5000);
    host.Receive(t.atHost, relayAtHost);
    guest.Receive(t.atGuest, from);
    return t;
}

// How often each datagram arrived.
std::map<uint32_t, int> Copies(const std::vector<TUdpEnd::TGot>& got) {
    std::map<uint32_t, int> copies;
    for (const TUdpEnd::TGot& g : got) ++copies[g.n];
    return copies;
}

TEST(LossyRelay, LosesDelaysReordersAndRepeatsBothWays) {
    const TTraffic t = Exchange(7);
    for (const auto& [got, counts] : {std::pair{t.atHost, t.toHost}, std::pair{t.atGuest, t.toGuest}}) {
        EXPECT_EQ(counts.arrived, uint64_t{kDatagrams});
        // 5 % and 2 % of 1000, give or take what chance gives.
        EXPECT_GE(counts.dropped, 20u);
        EXPECT_LE(counts.dropped, 90u);
        EXPECT_GE(counts.repeated, 5u);
        EXPECT_LE(counts.repeated, 45u);
        EXPECT_GT(counts.overtaken, 100u);
        EXPECT_EQ(got.size(), counts.delivered);
        const std::map<uint32_t, int> copies = Copies(got);
        EXPECT_EQ(copies.size(), kDatagrams - counts.dropped);
        uint64_t twice = 0;
        for (const auto& [n, c] : copies) twice += c == 2;
        EXPECT_EQ(twice, counts.repeated);
        // Never sooner than the shortest delay (the longest is not checked:
        // a loaded machine may wake the relay late).
        for (const TUdpEnd::TGot& g : got) ASSERT_GE(g.delayUs, 30000) << "datagram " << g.n;
    }
}

TEST(LossyRelay, SameSeedSameDecisions) {
    const TTraffic a = Exchange(11), b = Exchange(11), c = Exchange(12);
    EXPECT_EQ(Copies(a.atHost), Copies(b.atHost));
    EXPECT_EQ(Copies(a.atGuest), Copies(b.atGuest));
    EXPECT_NE(Copies(a.atHost), Copies(c.atHost));
}

}  // namespace
}  // namespace qw::test
