#pragma once

#include <chrono>
#include <cstdint>

#include "connection/Protocol.h"

namespace tesk {

// The connection's timings and port in one place, so tests can shorten them.
struct ConnectionTimings {
    std::chrono::milliseconds writerPause{2000};    // after every sent line
    std::chrono::milliseconds replyTimeout{10000};  // no server line after a sent one
    std::chrono::milliseconds pollInterval{60000};  // between polling cycles
    std::uint16_t port = protocol::kGatewayPort;
};

}  // namespace tesk
