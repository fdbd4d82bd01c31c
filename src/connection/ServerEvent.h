#pragma once

#include <optional>
#include <string>
#include <variant>

#include "connection/ServerLine.h"

namespace tesk {

// What received lines mean to the rest of the program, as the reader has read them
// against the command each one answers. The reader alone keeps that protocol state; a
// sink receives the meaning and never the state. A new kind of reply is a new type here,
// its reading in the reader, and a case in the sinks that care.

// A received line as the console log shows it.
struct LogEntry {
    std::string text;  // "[hh:mm] " + line
    Rgb colour;
};

// A reply line to "/whois NAME"; the line stays whole because what it changes depends
// on what is known of the user.
struct WhoisAnswer {
    std::string name;
    std::string line;
};

// One line of the statistics asked for with "/stats NAME CODE".
struct StatsAnswer {
    std::string name;
    std::optional<std::string> productCode;  // on its first line only
    std::optional<std::string> body;         // nothing for a record heading
};

// A whisper from a partner, or the gateway's confirmation of one of ours.
struct WhisperEvent {
    bool incoming = false;
    std::string partner;
    std::string text;
};

// A whisper of ours that the gateway did not deliver.
struct WhisperRefusal {
    std::string partner;
    std::string text;
    std::string reason;  // the reply's quoted text, e.g. "That user is not logged on."
};

// PvPGN's notice that a friend has logged on or off, which is presence, not a whisper.
struct FriendNotice {
    std::string name;
    bool online = false;
};

using ServerEvent =
    std::variant<LogEntry, WhoisAnswer, StatsAnswer, WhisperEvent, WhisperRefusal, FriendNotice>;

// Receives the events, on the GUI thread, while the reader waits.
class ServerEventSink {
public:
    virtual ~ServerEventSink() = default;
    virtual void handle(const ServerEvent& event) = 0;
};

// For sinks that visit an event with one lambda per type.
template <typename... Handlers>
struct EventHandlers : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
EventHandlers(Handlers...) -> EventHandlers<Handlers...>;

}  // namespace tesk
