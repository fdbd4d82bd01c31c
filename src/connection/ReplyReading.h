#pragma once

#include <optional>
#include <string>

#include "connection/ReaderState.h"
#include "connection/ServerEvent.h"

namespace tesk {

// The meaning of a whois, statistics or whisper line, read against the reader's state,
// which it moves on: the offline reply ends the "/whois", and the first statistics line
// uses up the product named in the echo.
std::optional<ServerEvent> readReply(LineCase lineCase, const std::string& line,
                                     ReaderState& state);

}  // namespace tesk
