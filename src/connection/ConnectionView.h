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

}  // namespace tesk
