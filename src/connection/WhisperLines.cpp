#include "connection/WhisperLines.h"

#include "connection/Protocol.h"

namespace tesk {

namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The end of the piece that starts at `from`, when no more than `room` bytes fit and
// more than that are left.
std::size_t pieceEnd(const std::string& message, std::size_t from, std::size_t room) {
    const std::size_t limit = from + room;  // the first byte that does not fit
    std::size_t end = message.rfind(' ', limit);
    if (end != std::string::npos) {
        while (end > from && message[end - 1] == ' ') {
            --end;
        }
        if (end > from) {
            return end;
        }
    }
    end = limit;
    while (end > from && continuesCharacter(message[end])) {
        --end;
    }
    if (end == from) {
        // Not even one character fits: it goes whole, over the limit (no UTF-8 character
        // is longer than 4 bytes, whatever bytes follow).
        end = from + 1;
        while (end < message.size() && end - from < 4 && continuesCharacter(message[end])) {
            ++end;
        }
    }
    return end;
}

}  // namespace

std::vector<std::string> whisperLines(const std::string& partner, const std::string& message,
                                      std::size_t longestLine) {
    const std::string prefix = protocol::kWhisperPrefix + partner + ' ';
    if (longestLine == 0 || prefix.size() + message.size() <= longestLine) {
        return {prefix + message};
    }
    const std::size_t room = longestLine > prefix.size() ? longestLine - prefix.size() : 0;
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < message.size()) {
        if (message.size() - from <= room) {
            lines.push_back(prefix + message.substr(from));
            break;
        }
        const std::size_t end = pieceEnd(message, from, room);
        lines.push_back(prefix + message.substr(from, end - from));
        from = end;
        while (from < message.size() && message[from] == ' ') {
            ++from;  // the spaces at a cut go with it
        }
    }
    return lines;
}

}  // namespace tesk
