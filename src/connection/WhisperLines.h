#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tesk {

// The "/w PARTNER PIECE" lines that carry a chat message, each at most `longestLine` bytes
// (0: no limit, one line). The message is cut at spaces where it can be, the space at a
// cut left out; a word longer than a line is cut between two characters, never inside
// one's UTF-8 sequence. A line always carries at least one character, so a partner name
// that leaves no room still gets the whole message.
std::vector<std::string> whisperLines(const std::string& partner, const std::string& message,
                                      std::size_t longestLine);

}  // namespace tesk
