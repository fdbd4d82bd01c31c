#pragma once

#include <optional>
#include <string_view>

#include "connection/ServerEvent.h"

namespace tesk {

// A PvPGN friend notice, or nothing. Anyone can whisper the words of a log-on notice, so
// only a whisper whose sender is the friend named in it, with the flags the server gives
// the notice, counts; the log-off notice only as a whole line of its own.
std::optional<FriendNotice> pvpgnFriendNotice(std::string_view line);

}  // namespace tesk
