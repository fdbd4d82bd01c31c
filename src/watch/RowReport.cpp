#include "watch/RowReport.h"

#include "watch/WatchedUser.h"

namespace tesk {

namespace {

const char* presenceWord(Presence presence) {
    switch (presence) {
        case Presence::Offline:
            return "offline";
        case Presence::Online:
            return "online";
        case Presence::Away:
            return "away";
        case Presence::Dnd:
            return "refusing messages";
        case Presence::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace

std::string describeRow(const std::string& name, const WatchedUser& user, const std::string& seen) {
    std::string line = name + " " + presenceWord(user.presence);
    const auto add = [&line](const char* label, const std::string& text) {
        if (!text.empty()) {
            line += std::string(", ") + label + text;
        }
    };
    if (user.place.kind != Place::Kind::None) {
        add("", placeText(user));
    }
    add("program: ", user.program);
    add("away: ", user.awayMessage);
    add("dnd: ", user.dndMessage);
    if (user.presence == Presence::Offline) {
        add("", seen);
    }
    return line;
}

}  // namespace tesk
