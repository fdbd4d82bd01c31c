#include "connection/ConnectionStatus.h"

namespace tesk {

const char* statusWord(ConnectionStatus status) {
    switch (status) {
        case ConnectionStatus::Offline: return "offline";
        case ConnectionStatus::Connecting: return "connecting";
        case ConnectionStatus::Online: return "online";
        case ConnectionStatus::Away: return "away";
        case ConnectionStatus::Dnd: return "dnd";
        case ConnectionStatus::None: break;
    }
    return "";
}

bool isOffline(ConnectionStatus status) {
    return status == ConnectionStatus::Offline || status == ConnectionStatus::None;
}

bool isLoggedIn(ConnectionStatus status) {
    return status == ConnectionStatus::Online || status == ConnectionStatus::Away ||
           status == ConnectionStatus::Dnd;
}

std::optional<StatusDisplay> statusDisplayFor(ConnectionStatus status) {
    switch (status) {
        case ConnectionStatus::Online:
            return StatusDisplay{"Online", status, {}};
        case ConnectionStatus::Away:
            return StatusDisplay{"Away", status, {}};
        case ConnectionStatus::Dnd:
            return StatusDisplay{"DND", status, {}};
        case ConnectionStatus::Offline:
            return StatusDisplay{"Offline", status, {}};
        case ConnectionStatus::Connecting:
            return StatusDisplay{"Connecting...", status, {}};
        case ConnectionStatus::None: break;
    }
    return std::nullopt;
}

}  // namespace tesk
