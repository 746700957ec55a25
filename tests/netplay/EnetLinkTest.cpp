// The link under the sessions, through the test relay: a computer that
// stood still for seconds must not leave the other side's link so that one
// lost datagram ends the game.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LoopbackPair.h"
#include "LossyRelay.h"
#include "net/EnetLink.h"

namespace qw::test {
namespace {

using net::TEnetLink;
using net::TLinkEvent;

// A server and a client link, the client connected through a relay that
// only delays (1 to 2 ms) until it is cut.
class RelayedLink : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        server = TEnetLink::Listen(0, 1, error);
        ASSERT_TRUE(server) << error;
        relay = std::make_unique<TLossyRelay>(server->port(), TRelaySettings{1, 0, 0, 1, 2});
        ASSERT_TRUE(relay->ok());
        client = TEnetLink::Client(error);
        ASSERT_TRUE(client) << error;
        toServer = client->Connect(htonl(0x7f000001), relay->port(), 0);
        ASSERT_TRUE(Pump([&] { return serverHasClient && clientConnected; }, 5000));
    }

    // Services both links until done() holds; false when the time is up.
    bool Pump(const std::function<bool()>& done, int64_t ms) {
        const int64_t start = NowMs();
        while (NowMs() - start < ms) {
            TLinkEvent e;
            while (server->Next(e, 1)) {
                serverHasClient |= e.kind == TLinkEvent::Kind::Connected;
                serverLost |= e.kind == TLinkEvent::Kind::Disconnected;
                if (e.kind == TLinkEvent::Kind::Received) received.push_back(e.bytes);
            }
            while (client->Next(e, 1)) {
                clientConnected |= e.kind == TLinkEvent::Kind::Connected;
                clientLost |= e.kind == TLinkEvent::Kind::Disconnected;
            }
            if (done()) return true;
        }
        return false;
    }

    std::unique_ptr<TEnetLink> server, client;
    std::unique_ptr<TLossyRelay> relay;
    ENetPeer* toServer = nullptr;
    bool serverHasClient = false, clientConnected = false, serverLost = false, clientLost = false;
    std::vector<std::vector<uint8_t>> received;
};

TEST_F(RelayedLink, OneLostMessageAfterALongStallIsSentAgainInTime) {
    // Messages in flight while this process stands still for 8 s (as both
    // windows of the relay test do while the host makes a new round's world
    // in a slow build): their acknowledgements come that late, and ENet
    // would take the stall for the round trip and wait longer than its 10 s
    // timeout before sending a lost message again.
    for (uint8_t i = 0; i < 8; ++i) client->Send(toServer, net::kReliableChannel, {i}, true);
    client->Flush();
    usleep(20 * 1000);
    sleep(8);
    ASSERT_TRUE(Pump([&] { return received.size() == 8; }, 3000));
    Pump([] { return false; }, 300);  // every acknowledgement is in

    relay->Cut(true, false);
    usleep(20 * 1000);  // the relay's next round sees the cut
    client->Send(toServer, net::kReliableChannel, {99}, true);
    client->Flush();
    Pump([] { return false; }, 100);
    relay->Cut(false, false);

    Pump([&] { return received.size() == 9 || clientLost || serverLost; }, 15000);
    ASSERT_EQ(received.size(), 9u);
    EXPECT_EQ(received.back(), std::vector<uint8_t>{99});
    EXPECT_FALSE(clientLost);
    EXPECT_FALSE(serverLost);
}

}  // namespace
}  // namespace qw::test
