#include "connection/WhisperAnswer.h"

#include "connection/Protocol.h"

namespace tesk {

namespace {

using namespace protocol;

// The text between the first double quote and a closing one at the end of the line; a
// line without quotes is all reason.
std::string_view quotedText(std::string_view line) {
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos) {
        return line;
    }
    std::string_view text = line.substr(quote + 1);
    if (!text.empty() && text.back() == '"') {
        text.remove_suffix(1);
    }
    return text;
}

bool refuses(std::string_view line) {
    return startsWith(line, kError) ||
           (startsWith(line, kInfo) && line.find(whois::kRefusing) != std::string_view::npos);
}

}  // namespace

WhisperAnswer answerToWhisper(std::string_view line, const ReaderState& state) {
    if (state.lastCommand != kWhisperCommand || state.whisperAnswered) {
        return {};
    }
    if (startsWith(line, kWhisperSent)) {
        return {true, std::nullopt};
    }
    if (!refuses(line)) {
        return {};
    }
    const std::size_t space = state.lastArgument.find(' ');
    WhisperRefusal refusal{state.lastArgument.substr(0, space), {}, std::string(quotedText(line))};
    if (space != std::string::npos) {
        refusal.text = state.lastArgument.substr(space + 1);
    }
    if (refusal.partner.empty()) {
        return {true, std::nullopt};  // "/w  NAME ..." typed with two spaces: no partner
    }
    return {true, std::move(refusal)};
}

}  // namespace tesk
