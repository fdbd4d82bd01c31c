#include "connection/PvpgnNotices.h"

#include <string>

#include "connection/Protocol.h"
#include "connection/ServerLine.h"

namespace tesk {

namespace {

using namespace protocol;

// NAME from "Your friend NAME<verb>REALM.", where NAME is one word and REALM not empty.
std::optional<std::string_view> friendIn(std::string_view text, std::string_view verb) {
    if (!startsWith(text, pvpgn::kYourFriend) || text.size() < 2 || text.back() != '.') {
        return std::nullopt;
    }
    text.remove_prefix(std::string_view(pvpgn::kYourFriend).size());
    const std::size_t end = text.find(' ');
    if (end == 0 || end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view realm = text.substr(end);
    if (!startsWith(realm, verb) || realm.size() <= verb.size() + 1) {
        return std::nullopt;
    }
    return text.substr(0, end);
}

}  // namespace

std::optional<FriendNotice> pvpgnFriendNotice(std::string_view line) {
    if (const auto name = friendIn(line, pvpgn::kFriendLeft)) {
        return FriendNotice{std::string(*name), false};
    }
    // "1004 WHISPER NAME 0010 "Your friend NAME has entered REALM.""
    const std::string head = std::string(kWhisperFrom) + ' ';
    if (!startsWith(line, head)) {
        return std::nullopt;
    }
    line.remove_prefix(head.size());
    const std::size_t space = line.find(' ');
    const std::string flagsAndQuote = std::string(" ") + pvpgn::kFriendFlags + " \"";
    if (space == std::string_view::npos ||
        line.substr(space, flagsAndQuote.size()) != flagsAndQuote || line.back() != '"') {
        return std::nullopt;
    }
    const std::string_view sender = line.substr(0, space);
    const std::size_t textStart = space + flagsAndQuote.size();
    if (line.size() <= textStart) {
        return std::nullopt;
    }
    const std::string_view text = line.substr(textStart, line.size() - textStart - 1);
    const auto name = friendIn(text, pvpgn::kFriendEntered);
    if (!name || *name != sender) {
        return std::nullopt;
    }
    return FriendNotice{std::string(sender), true};
}

}  // namespace tesk
