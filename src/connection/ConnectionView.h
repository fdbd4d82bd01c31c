#pragma once

#include <string>
#include <vector>

#include "connection/ConnectionStatus.h"
#include "connection/ServerLine.h"

namespace tesk {

// What the connection needs from the windows. Every call arrives on the GUI thread.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;

    // The status button's caption and picture changed (or are re-shown): update the
    // button and set the tray tip to "TESK: " + caption with the normal tray image.
    virtual void displayStatus(const StatusDisplay& display) = 0;

    // Names of all watched users, in list order: a user with a message waiting is polled
    // too, so that his row stays current.
    virtual std::vector<std::string> namesToPoll() = 0;

    // Every watched user back to the unknown state.
    virtual void resetWatchRows() = 0;

    // A modal "Error" box; returns when the user has dismissed it.
    virtual void showError(const std::string& message) = 0;

    // A line of the connection's own in the console (a retry, a kick); not every view
    // has a console.
    virtual void logNote(const std::string& /*text*/) {}
};

// The reader's texts shared with the handlers it hands lines to.
struct ReaderState {
    std::string currentLine;
    std::string lastCommand;   // command word of the last command echo, e.g. "/whois"
    std::string lastArgument;  // the rest of that echo after its first space
    // The whisper of the last "/w" echo has had its answer: the gateway's confirmation
    // or its refusal.
    bool whisperAnswered = false;
};

// A whisper that the gateway did not deliver, from a "/w NAME TEXT" echo and the reply
// to it.
struct WhisperRefusal {
    std::string partner;
    std::string text;
    std::string reason;  // the reply's quoted text, e.g. "That user is not logged on."
};

// A received line as the console log shows it.
struct LogEntry {
    std::string text;  // "[hh:mm] " + line
    Rgb colour;
};

// Handlers of received lines. Every call arrives on the GUI thread while the reader
// waits; a handler may change the state it is given (the reader keeps the change).
class ServerLineHandlers {
public:
    virtual ~ServerLineHandlers() = default;
    virtual void addToLog(const LogEntry& entry) = 0;
    virtual void updateUser(ReaderState& state) = 0;
    virtual void updateStats(ReaderState& state) = 0;
    virtual void handleWhisperLine(const std::string& line) = 0;
    virtual void whisperRefused(const WhisperRefusal& refusal) = 0;
};

}  // namespace tesk
