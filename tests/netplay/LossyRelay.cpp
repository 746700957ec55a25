#include "LossyRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace qw::test {

namespace {

// Polls at least this often, so that the relay stops soon when asked.
constexpr int kLongestWaitMs = 5;

}  // namespace

int64_t SteadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

sockaddr_in LoopbackAddress(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

struct TLossyRelay::TDirection {
    struct TPending {
        uint64_t index;
        std::vector<uint8_t> bytes;
    };

    TDirection(const TRelaySettings& s, uint64_t stream) : settings(s), rng(s.seed * 2 + stream) {}

    void Arrive(const uint8_t* data, size_t size, int64_t nowUs, bool cut) {
        const uint64_t index = counts.arrived++;
        std::uniform_real_distribution<double> share(0, 1);
        if (share(rng) < settings.dropShare || cut) {
            ++counts.dropped;
            return;
        }
        const int copies = share(rng) < settings.repeatShare ? 2 : 1;
        if (copies == 2) ++counts.repeated;
        std::uniform_int_distribution<int64_t> delayUs(int64_t{settings.minDelayMs} * 1000,
                                                       int64_t{settings.maxDelayMs} * 1000);
        for (int i = 0; i < copies; ++i)
            pending.emplace(nowUs + delayUs(rng), TPending{index, std::vector<uint8_t>(data, data + size)});
    }

    // Sends every datagram whose time has come through send().
    template <typename Send>
    void Deliver(int64_t nowUs, Send&& send) {
        while (!pending.empty() && pending.begin()->first <= nowUs) {
            const TPending& p = pending.begin()->second;
            send(p.bytes);
            ++counts.delivered;
            if (p.index < newestDelivered) ++counts.overtaken;
            newestDelivered = std::max(newestDelivered, p.index);
            pending.erase(pending.begin());
        }
    }

    const TRelaySettings& settings;
    std::mt19937_64 rng;
    std::multimap<int64_t, TPending> pending;  // by the time they are due
    uint64_t newestDelivered = 0;
    TRelayCounts counts;
};

TLossyRelay::TLossyRelay(uint16_t hostPort, const TRelaySettings& settings) : settings_(settings) {
    guestSocket_ = socket(AF_INET, SOCK_DGRAM, 0);
    hostSocket_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any = LoopbackAddress(0), host = LoopbackAddress(hostPort);
    socklen_t length = sizeof any;
    if (!ok() || bind(guestSocket_, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0 ||
        getsockname(guestSocket_, reinterpret_cast<sockaddr*>(&any), &length) != 0 ||
        connect(hostSocket_, reinterpret_cast<sockaddr*>(&host), sizeof host) != 0) {
        for (int* fd : {&guestSocket_, &hostSocket_})
            if (*fd >= 0) close(std::exchange(*fd, -1));
        return;
    }
    port_ = ntohs(any.sin_port);
    thread_ = std::thread([this] { Run(); });
}

TLossyRelay::~TLossyRelay() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
    for (int fd : {guestSocket_, hostSocket_})
        if (fd >= 0) close(fd);
}

TRelayCounts TLossyRelay::toHost() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return toHost_;
}

TRelayCounts TLossyRelay::toGuest() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return toGuest_;
}

void TLossyRelay::Cut(bool toHost, bool toGuest) {
    std::lock_guard<std::mutex> lock(mutex_);
    cutToHost_ = toHost;
    cutToGuest_ = toGuest;
}

void TLossyRelay::Run() {
    TDirection toHost(settings_, 0), toGuest(settings_, 1);
    sockaddr_in guest{};
    bool guestKnown = false;
    std::vector<uint8_t> buffer(64 * 1024);
    for (;;) {
        int64_t nowUs = SteadyMicroseconds();
        int64_t waitUs = int64_t{kLongestWaitMs} * 1000;
        for (const TDirection* d : {&toHost, &toGuest})
            if (!d->pending.empty()) waitUs = std::min(waitUs, d->pending.begin()->first - nowUs);
        pollfd fds[2] = {{guestSocket_, POLLIN, 0}, {hostSocket_, POLLIN, 0}};
        poll(fds, 2, static_cast<int>(std::max<int64_t>(0, (waitUs + 999) / 1000)));

        bool cutToHost, cutToGuest;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) return;
            cutToHost = cutToHost_;
            cutToGuest = cutToGuest_;
        }
        nowUs = SteadyMicroseconds();
        for (;;) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t got = recvfrom(guestSocket_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                         reinterpret_cast<sockaddr*>(&from), &length);
            if (got < 0) break;
            guest = from;
            guestKnown = true;
            toHost.Arrive(buffer.data(), static_cast<size_t>(got), nowUs, cutToHost);
        }
        for (;;) {
            const ssize_t got = recv(hostSocket_, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got < 0) break;
            toGuest.Arrive(buffer.data(), static_cast<size_t>(got), nowUs, cutToGuest);
        }
        // A send that fails is one more lost datagram, as on a real network.
        toHost.Deliver(nowUs, [&](const std::vector<uint8_t>& bytes) {
            send(hostSocket_, bytes.data(), bytes.size(), MSG_DONTWAIT);
        });
        toGuest.Deliver(nowUs, [&](const std::vector<uint8_t>& bytes) {
            if (guestKnown)
                sendto(guestSocket_, bytes.data(), bytes.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&guest),
                       sizeof guest);
        });
        std::lock_guard<std::mutex> lock(mutex_);
        toHost_ = toHost.counts;
        toGuest_ = toGuest.counts;
    }
}

}  // namespace qw::test
