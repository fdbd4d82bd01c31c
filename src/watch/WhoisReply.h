#pragma once

#include <cstddef>
#include <string>

#include "watch/WatchedUser.h"

namespace tesk {

struct WhoisOutcome {
    WatchedUser user;               // the user after the line, the unread mark as before
    bool announce = false;          // from offline to online: the user has come online
};

// Applies one "1018 INFO" or "1019 ERROR" line that answers "/whois" to the user's state.
// Lines are bytes; any content, including none, gives a well-defined outcome.
WhoisOutcome interpretWhoisReply(const std::string& line, const WatchedUser& before);

// The text from 1-based position `from` up to (not including) the first occurrence of
// `delimiter` in the whole line. Empty when that occurrence lies before `from`, when the
// delimiter is missing or empty, or when `from` is beyond the end. A `from` of 0 reads
// from the start of the line.
std::string textUpTo(const std::string& line, std::size_t from, const std::string& delimiter);

}  // namespace tesk
