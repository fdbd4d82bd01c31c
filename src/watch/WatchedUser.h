#pragma once

#include <string>

namespace tesk {

// What the gateway last said of a watched user. Unknown until it has been asked since the
// row was made or all rows were reset.
enum class Presence { Unknown, Offline, Online, Away, Dnd };

// Where a user was last seen. Only channels and games that can be entered have a name.
struct Place {
    enum class Kind { None, Channel, PrivateChannel, Game, PrivateGame, PasswordGame };

    Kind kind = Kind::None;
    std::string name;

    bool operator==(const Place& other) const { return kind == other.kind && name == other.name; }
};

// One watched user's state: the gateway's last report and the unread mark, which is ours
// alone. The mark means a whisper waits in the partner's chat window; no report and no
// reset of the rows touches it.
struct WatchedUser {
    Presence presence = Presence::Unknown;
    Place place;
    std::string program, awayMessage, dndMessage;
    bool unread = false;

    bool operator==(const WatchedUser& other) const {
        return presence == other.presence && place == other.place && program == other.program &&
               awayMessage == other.awayMessage && dndMessage == other.dndMessage &&
               unread == other.unread;
    }
};

// The place as the list, its tip and the headless report show it: "channel: Foo",
// "private channel", "game: Foo", "private game", "password game: Foo"; without a place,
// "offline" for a user the gateway said is not logged on and "unknown" otherwise.
std::string placeText(const WatchedUser& user);

}  // namespace tesk
