#include "connection/ReplyLines.h"

#include "connection/Protocol.h"
#include "connection/ServerLine.h"

namespace tesk {

WhisperLine splitWhisperLine(const std::string& line) {
    WhisperLine whisper;
    whisper.incoming = startsWith(line, protocol::kWhisperFrom);
    // Positions count from 1: the name starts at 14 and ends five characters (a space
    // and the flags) before the space that precedes the opening quote at a + 1.
    const std::size_t quote = line.find(" \"");
    if (quote == std::string::npos) {
        return whisper;
    }
    const std::size_t a = quote + 1;
    if (a > 19) {
        whisper.partner = line.substr(13, a - 19);
    }
    if (line.size() > a + 2) {
        whisper.text = line.substr(a + 1, line.size() - a - 2);
    }
    return whisper;
}

StatsReply interpretStatsReply(const std::string& line, const std::string& lastArgument) {
    StatsReply reply;
    reply.lastArgument = lastArgument;
    const std::size_t space = lastArgument.find(' ');
    reply.name = lastArgument.substr(0, space);
    if (space != std::string::npos) {
        // Only the first line after the echo still carries the product.
        reply.productCode = lastArgument.substr(space + 1);
        reply.lastArgument = lastArgument.substr(0, space);
    }
    if (line.find(protocol::stats::kRecordHeadingEnd) == std::string::npos &&
        line.find(protocol::stats::kWarcraftIIIHeadingEnd) == std::string::npos) {
        const std::size_t quote = line.find('"');
        const std::size_t start = quote == std::string::npos ? 0 : quote + 1;
        reply.body = start < line.size() ? line.substr(start, line.size() - start - 1) : "";
    }
    return reply;
}

}  // namespace tesk
