#pragma once

#include <optional>
#include <string>

namespace tesk {

// Where the connection stands. None exists only before the first connect begins.
enum class ConnectionStatus { None, Offline, Connecting, Online, Away, Dnd };

// "offline", "connecting", "online", "away", "dnd"; empty for None.
const char* statusWord(ConnectionStatus status);

// Not connected for the commands that ask the gateway about users: "offline", or no
// connect has begun yet.
bool isOffline(ConnectionStatus status);

// Logged in: the writer may send and the status commands act on the gateway's modes.
bool isLoggedIn(ConnectionStatus status);

// What the status button shows: caption and the status its picture stands for.
struct StatusDisplay {
    std::string caption;
    ConnectionStatus status = ConnectionStatus::Offline;
    std::string tipCaption;  // for the tray tip when it says more than the button
    bool operator==(const StatusDisplay& other) const {
        return caption == other.caption && status == other.status && tipCaption == other.tipCaption;
    }
};

// The status button's look for a status; nothing for None, which leaves it unchanged.
std::optional<StatusDisplay> statusDisplayFor(ConnectionStatus status);

}  // namespace tesk
