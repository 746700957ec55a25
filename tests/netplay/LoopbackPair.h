#pragma once
// A host and a guest session in one process, talking through 127.0.0.1, each
// with its own record. Every wait is bounded in rounds and in time.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "net/GuestSession.h"
#include "net/HostSession.h"
#include "world/GameState.h"

namespace qw::test {

inline int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class LoopbackPair {
public:
    std::unique_ptr<TGameState> hostState = std::make_unique<TGameState>();
    std::unique_ptr<TGameState> guestState = std::make_unique<TGameState>();
    std::unique_ptr<net::THostSession> host;
    std::unique_ptr<net::TGuestSession> guest;

    // A host on a free port of this machine.
    void OpenHost(net::THostSettings settings = {}) {
        settings.port = 0;
        std::string error;
        host = net::THostSession::Open(std::move(settings), error);
        ASSERT_TRUE(host) << error;
    }

    std::unique_ptr<net::TGuestSession> MakeGuest(uint32_t code, std::vector<uint8_t> skin = {}) const {
        std::string error;
        auto session = net::TGuestSession::Start(
            net::TGuestSettings{"127.0.0.1:" + std::to_string(host->port()), code, std::move(skin)}, NowMs(), error);
        EXPECT_TRUE(session) << error;
        return session;
    }

    void Join() {
        guest = MakeGuest(host->code());
        ASSERT_TRUE(PumpUntil([&] { return host->phase() == net::THostSession::TPhase::Joined; }));
        ASSERT_TRUE(PumpUntil([&] { return guest->phase() == net::TGuestSession::TPhase::Receiving; }));
    }

    // Polls both sides for a while, long enough for loopback traffic to arrive.
    void Settle() {
        const int64_t start = NowMs();
        while (NowMs() - start < 60) {
            if (host) host->Poll(NowMs(), 1);
            if (guest) guest->Poll(NowMs(), *guestState, 1);
        }
    }

    // Polls both sides until done() holds; false after 5 s or 5000 rounds.
    bool PumpUntil(const std::function<bool()>& done, net::TGuestSession* other = nullptr) {
        const int64_t start = NowMs();
        for (int i = 0; i < 5000 && NowMs() - start < 5000; ++i) {
            if (host) host->Poll(NowMs(), 1);
            if (guest) guest->Poll(NowMs(), *guestState, 1);
            if (other) other->Poll(NowMs(), *guestState, 0);
            if (done()) return true;
        }
        return false;
    }
};

}  // namespace qw::test
