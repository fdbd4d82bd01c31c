#pragma once

#include <cstddef>
#include <string>

#include "connection/ConnectionStatus.h"

namespace tesk {

// The parts of a watch list row that a whois reply line can change.
struct WatchRowState {
    int image = image::kUnknown;  // state image index
    std::string place = "unknown";
    std::string program, awayMessage, dndMessage;

    bool operator==(const WatchRowState& other) const {
        return image == other.image && place == other.place && program == other.program &&
               awayMessage == other.awayMessage && dndMessage == other.dndMessage;
    }
};

struct WhoisOutcome {
    WatchRowState row;              // the row after the line
    bool clearLastCommand = false;  // the offline reply empties the reader's last command
    bool announce = false;          // old image 8 and new image 9: the user has come online
};

// Applies one "1018 INFO" or "1019 ERROR" line that answers "/whois" to the row's state.
// Lines are bytes; any content, including none, gives a well-defined outcome.
WhoisOutcome interpretWhoisReply(const std::string& line, const WatchRowState& before);

// The text from 1-based position `from` up to (not including) the first occurrence of
// `delimiter` in the whole line. Empty when that occurrence lies before `from`, when the
// delimiter is missing or empty, or when `from` is beyond the end. A `from` of 0 reads
// from the start of the line.
std::string textUpTo(const std::string& line, std::size_t from, const std::string& delimiter);

}  // namespace tesk
