#include "connection/ServerLine.h"

#include <cstdio>

#include "connection/Protocol.h"

namespace tesk {

using namespace protocol;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

LineCase classifyServerLine(std::string_view line, std::string_view lastCommand) {
    const bool reply = startsWith(line, kInfo) || startsWith(line, kError);
    if (startsWith(line, "/")) {
        return LineCase::CommandEcho;
    }
    if (reply && (lastCommand == kWhoisCommand || lastCommand == kWhisperCommand)) {
        return LineCase::WhoisReply;
    }
    if (reply && lastCommand == kStatsCommand) {
        return LineCase::StatsReply;
    }
    if (startsWith(line, kWhisperFrom) || startsWith(line, kWhisperSent)) {
        return LineCase::Whisper;
    }
    if (startsWith(line, kLoginAccepted)) {
        return LineCase::LoginAccepted;
    }
    if (line == kAwayOn) {
        return LineCase::AwayOn;
    }
    if (line == kDndOn) {
        return LineCase::DndOn;
    }
    if (line == kAwayOff || line == kDndOff) {
        return LineCase::ModeOff;
    }
    if (line == kFlooding) {
        return LineCase::Flooding;
    }
    if (line.find(kRefused) != std::string_view::npos) {
        return LineCase::Refused;
    }
    if (line == kLoginIncorrect) {
        return LineCase::LoginIncorrect;
    }
    return LineCase::Unrecognised;
}

CommandEcho splitCommandEcho(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
        return {std::string(), std::string(line)};
    }
    return {std::string(line.substr(0, space)), std::string(line.substr(space + 1))};
}

Rgb logColourOf(std::string_view line) {
    if (startsWith(line, kInfo)) {
        return {0, 128, 0};
    }
    if (startsWith(line, kError)) {
        return {128, 0, 0};
    }
    if (startsWith(line, kWhisperFrom) || startsWith(line, kWhisperSent)) {
        return {0, 0, 128};
    }
    if (startsWith(line, kNull) || startsWith(line, kOtherEvent)) {
        return {128, 128, 128};
    }
    if (startsWith(line, kLoginAccepted)) {
        return {128, 0, 128};
    }
    return {0, 0, 0};
}

std::string timeStampedLogText(std::string_view line, int hour, int minute) {
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "[%02d:%02d] ", hour, minute);
    std::string text(stamp);
    text += line;
    return text;
}

}  // namespace tesk
