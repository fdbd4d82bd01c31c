#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "connection/Protocol.h"

namespace tesk {

// The connection's timings and port in one place, so tests can shorten them.
struct ConnectionTimings {
    std::chrono::milliseconds writerPause{2000};    // after every sent line
    std::chrono::milliseconds replyTimeout{10000};  // no server line after a sent one
    std::chrono::milliseconds pollInterval{60000};  // between polling cycles
    std::chrono::milliseconds loginTimeout{10000};  // from the login lines to "2010 NAME"
    // Pauses before a retry: the first, doubling up to the longest; they start again
    // from the first after a connection that stayed logged in this long.
    std::chrono::milliseconds firstRetryPause{2000};
    std::chrono::milliseconds longestRetryPause{60000};
    std::chrono::milliseconds stableLogin{60000};
    // Between attempts while the account is logged on elsewhere (e.g. by a game).
    std::chrono::milliseconds accountInUseRetry{60000};
    // PvPGN's quota window: Tesk.ini gives it in whole seconds, tests a short one here.
    std::optional<std::chrono::milliseconds> quotaWindow;
    // Added to that window. The server counts whole seconds of its own clock, so it
    // forgets a line within the window; but the network may bring a line that waited for
    // the window a little sooner after the one before than it left here.
    std::chrono::milliseconds quotaMargin{250};
    std::uint16_t port = protocol::kGatewayPort;
};

}  // namespace tesk
