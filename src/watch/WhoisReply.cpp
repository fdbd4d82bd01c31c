#include "watch/WhoisReply.h"

#include <string_view>

#include "connection/Protocol.h"

namespace tesk {

namespace {

using namespace protocol::whois;

const std::string kAwayOpen = std::string(kAway) + " (";
const std::string kRefusingOpen = std::string(kRefusing) + " (";

const std::string kMessageEnd = ")\"";
const std::string kPlaceEnd = ".\"";
const std::string kProgramEnd = " in ";

bool contains(const std::string& line, std::string_view text) {
    return line.find(text) != std::string::npos;
}

// The text that starts `skip` characters past the end of `phrase` and runs up to
// `delimiter`. Positions count from 1 and an absent phrase has position 0, so a missing
// phrase puts the start just after the phrase's length, counted from the line's start.
std::string textAfter(const std::string& line, std::string_view phrase, std::size_t skip,
                      const std::string& delimiter) {
    const std::size_t at = line.find(phrase);
    const std::size_t position = at == std::string::npos ? 0 : at + 1;
    return textUpTo(line, position + phrase.size() + skip, delimiter);
}

// Only the first phrase the line contains counts, in this order. Place names are
// followed by a space or "(" that the start skips as well.
void applyPhrase(const std::string& line, WatchedUser& user) {
    using Kind = Place::Kind;
    if (contains(line, kAway)) {
        user.presence = Presence::Away;
        user.awayMessage = textAfter(line, kAwayOpen, 0, kMessageEnd);
    } else if (contains(line, kRefusing)) {
        user.presence = Presence::Dnd;
        user.dndMessage = textAfter(line, kRefusingOpen, 0, kMessageEnd);
    } else if (contains(line, kInGame)) {
        user.place = {Kind::Game, textAfter(line, kInGame, 1, kPlaceEnd)};
    } else if (contains(line, kPrivateGame)) {
        user.place = {Kind::PrivateGame, {}};
    } else if (contains(line, kPasswordGame)) {
        user.place = {Kind::PasswordGame, textAfter(line, kPasswordGame, 1, kPlaceEnd)};
    } else if (contains(line, kChannel)) {
        user.place = {Kind::Channel, textAfter(line, kChannel, 1, kPlaceEnd)};
    } else if (contains(line, kPrivateChannel)) {
        user.place = {Kind::PrivateChannel, {}};
    } else if (contains(line, kNowhere)) {
        user.place = {};
    }
}

}  // namespace

std::string textUpTo(const std::string& line, std::size_t from, const std::string& delimiter) {
    const std::size_t end = line.find(delimiter);
    const std::size_t start = from == 0 ? 0 : from - 1;
    if (end == std::string::npos || end <= start) {
        return {};
    }
    return line.substr(start, end - start);
}

WhoisOutcome interpretWhoisReply(const std::string& line, const WatchedUser& before) {
    WhoisOutcome outcome{before};
    WatchedUser& user = outcome.user;
    // The gateway's answer for a user who is not online counts anywhere in the line.
    if (contains(line, protocol::kNotLoggedOnReply)) {
        user.presence = Presence::Offline;
        user.place = {};
        user.program.clear();
        user.awayMessage.clear();
        user.dndMessage.clear();
    } else {
        if (contains(line, protocol::kInfo)) {
            user.presence = Presence::Online;
        }
        user.awayMessage.clear();
        user.dndMessage.clear();
        applyPhrase(line, user);
        if (contains(line, kUsing)) {
            user.program = textAfter(line, kUsing, 1, kProgramEnd);
        }
    }
    outcome.announce = before.presence == Presence::Offline && user.presence == Presence::Online;
    return outcome;
}

}  // namespace tesk
