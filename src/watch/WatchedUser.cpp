#include "watch/WatchedUser.h"

namespace tesk {

std::string placeText(const WatchedUser& user) {
    const std::string& name = user.place.name;
    switch (user.place.kind) {
        case Place::Kind::Channel:
            return "channel: " + name;
        case Place::Kind::PrivateChannel:
            return "private channel";
        case Place::Kind::Game:
            return "game: " + name;
        case Place::Kind::PrivateGame:
            return "private game";
        case Place::Kind::PasswordGame:
            return "password game: " + name;
        case Place::Kind::None:
            break;
    }
    return user.presence == Presence::Offline ? "offline" : "unknown";
}

}  // namespace tesk
