#include "watch/RowReport.h"

#include "connection/ConnectionStatus.h"
#include "watch/WhoisReply.h"

namespace tesk {

namespace {

const char* stateWord(int image) {
    switch (image) {
        case image::kOffline:
            return "offline";
        case image::kOnline:
            return "online";
        case image::kAway:
            return "away";
        case image::kDnd:
            return "refusing messages";
        case image::kUnread:
            return "sent a message";
        default:
            return "unknown";
    }
}

}  // namespace

std::string describeRow(const std::string& name, const WatchRowState& state) {
    std::string line = name + " " + stateWord(state.image);
    const auto add = [&line](const char* label, const std::string& text) {
        if (!text.empty()) {
            line += std::string(", ") + label + text;
        }
    };
    if (state.place != "offline" && state.place != "unknown") {
        add("", state.place);
    }
    add("program: ", state.program);
    add("away: ", state.awayMessage);
    add("dnd: ", state.dndMessage);
    return line;
}

}  // namespace tesk
