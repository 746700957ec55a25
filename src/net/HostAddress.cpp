#include "net/HostAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>

#include <cerrno>
#include <cstring>

namespace qw::net {

std::optional<THostText> ParseHostText(const std::string& text, uint16_t defaultPort) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::string trimmed = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    THostText result;
    result.port = defaultPort;
    const auto colon = trimmed.rfind(':');
    result.name = trimmed.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string port = trimmed.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const unsigned long number = std::stoul(port);
        if (number < 1 || number > 65535) return std::nullopt;
        result.port = static_cast<uint16_t>(number);
    }
    if (result.name.empty() || result.name.find_first_of(" \t:") != std::string::npos) return std::nullopt;
    return result;
}

// glibc's asynchronous lookup: its own helper does the waiting.
struct THostLookup::Pending {
    std::string name;
    addrinfo hints{};
    gaicb request{};
    gaicb* list[1] = {&request};
    bool started = false;
};

THostLookup::THostLookup(const std::string& name) {
    in_addr numeric{};
    if (inet_pton(AF_INET, name.c_str(), &numeric) == 1) {
        address_ = numeric.s_addr;
        return;
    }
    pending_ = std::make_unique<Pending>();
    pending_->name = name;
    pending_->hints.ai_family = AF_INET;
    pending_->hints.ai_socktype = SOCK_DGRAM;
    pending_->request.ar_name = pending_->name.c_str();
    pending_->request.ar_request = &pending_->hints;
    pending_->started = getaddrinfo_a(GAI_NOWAIT, pending_->list, 1, nullptr) == 0;
}

THostLookup::~THostLookup() {
    if (!pending_ || !pending_->started) return;
    // A lookup still running cannot be left with its request gone.
    if (gai_cancel(&pending_->request) == EAI_NOTCANCELED) {
        const gaicb* wait[1] = {&pending_->request};
        gai_suspend(wait, 1, nullptr);
    }
    if (pending_->request.ar_result != nullptr) freeaddrinfo(pending_->request.ar_result);
}

bool THostLookup::Done() {
    if (!pending_) return true;
    if (!pending_->started) return true;
    const int status = gai_error(&pending_->request);
    if (status == EAI_INPROGRESS) return false;
    if (status == 0 && address_ == std::nullopt) {
        for (const addrinfo* a = pending_->request.ar_result; a != nullptr; a = a->ai_next) {
            if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
            address_ = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    return true;
}

std::vector<std::string> LocalIPv4Addresses() {
    std::vector<std::string> outside, loopback;
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) return {};
    for (const ifaddrs* i = interfaces; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_UP) == 0) continue;
        char text[INET_ADDRSTRLEN];
        const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) == nullptr) continue;
        ((i->ifa_flags & IFF_LOOPBACK) != 0 ? loopback : outside).emplace_back(text);
    }
    freeifaddrs(interfaces);
    outside.insert(outside.end(), loopback.begin(), loopback.end());
    return outside;
}

}  // namespace qw::net
