#pragma once
// What a player is told when a network game ends or cannot start.
#include <string>

#include "net/Protocol.h"

namespace qw::net {

struct TEndCause {
    TEndReason reason = TEndReason::None;
    bool detectedHere = false;  // this computer refused the other's message
    bool joining = false;       // the guest had not got into the game yet
    bool unreachable = false;   // the host was not found or did not answer
};

std::string EndText(const TEndCause& cause);

}  // namespace qw::net
