#include "connection/ReplyReading.h"

#include "connection/Protocol.h"
#include "connection/ReplyLines.h"

namespace tesk {

std::optional<ServerEvent> readReply(LineCase lineCase, const std::string& line,
                                     ReaderState& state) {
    switch (lineCase) {
        case LineCase::WhoisReply: {
            WhoisAnswer answer{state.lastArgument, line};
            // The gateway's answer for a user who is not online (it counts anywhere in the
            // line) is the last reply to a "/whois"; after a "/w" it refuses the whisper.
            if (state.lastCommand == protocol::kWhoisCommand &&
                line.find(protocol::kNotLoggedOnReply) != std::string::npos) {
                state.lastCommand.clear();
            }
            return answer;
        }
        case LineCase::StatsReply: {
            StatsReply reply = interpretStatsReply(line, state.lastArgument);
            state.lastArgument = std::move(reply.lastArgument);
            return StatsAnswer{std::move(reply.name), std::move(reply.productCode),
                               std::move(reply.body)};
        }
        case LineCase::Whisper: {
            WhisperLine whisper = splitWhisperLine(line);
            return WhisperEvent{whisper.incoming, std::move(whisper.partner),
                                std::move(whisper.text)};
        }
        default:
            return std::nullopt;
    }
}

}  // namespace tesk
