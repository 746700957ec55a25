#pragma once
// Where the guest finds the host: "name or address" with an optional
// ":port", looked up without blocking the game, and the host's own IPv4
// addresses to tell the guest.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qw::net {

struct THostText {
    std::string name;
    uint16_t port = 0;
};

// Splits "name[:port]"; empty when the name is empty or the port is not a
// number from 1 to 65535. Without a port, defaultPort.
std::optional<THostText> ParseHostText(const std::string& text, uint16_t defaultPort);

// A lookup of a host name (IPv4) that runs while the caller goes on asking
// whether it is done. A numeric address is done at once.
class THostLookup {
public:
    explicit THostLookup(const std::string& name);
    ~THostLookup();
    THostLookup(const THostLookup&) = delete;
    THostLookup& operator=(const THostLookup&) = delete;

    bool Done();
    // After Done: the address in network byte order, or empty when the name
    // has none.
    std::optional<uint32_t> address() const { return address_; }

private:
    struct Pending;
    std::unique_ptr<Pending> pending_;
    std::optional<uint32_t> address_;
};

// The IPv4 addresses of this computer's interfaces that are up, loopback
// last, as text ("192.168.1.20").
std::vector<std::string> LocalIPv4Addresses();

}  // namespace qw::net
