#pragma once

#include <optional>
#include <string>

namespace tesk {

// A whisper line: "1004 WHISPER" or "1010 WHISPER", the partner's name from position 14,
// a four-character flags field, then the quoted text. Lines that break this layout give
// empty parts.
struct WhisperLine {
    bool incoming = false;  // 1004: from the partner; 1010: the gateway confirms ours
    std::string partner;
    std::string text;
};
WhisperLine splitWhisperLine(const std::string& line);

// One reply line to "/stats NAME CODE".
struct StatsReply {
    std::string name;                        // whose statistics
    std::optional<std::string> productCode;  // on the first line after the echo only
    std::optional<std::string> body;         // the quoted text, unless a record line
    std::string lastArgument;                // the reader's argument afterwards
};
StatsReply interpretStatsReply(const std::string& line, const std::string& lastArgument);

}  // namespace tesk
