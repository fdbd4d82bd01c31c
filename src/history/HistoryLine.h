#pragma once

#include <QDateTime>
#include <cstddef>
#include <string>
#include <string_view>

namespace tesk {

// One line of a history file: "2024-05-01 14:02:11 carol: hi there", the local time,
// the speaker and the text, or "2024-05-01 14:02:12 Not delivered: REASON" for a note.
// Received text is written as a terminal shows it safely (terminalText: a line break as
// \n, other controls as \xHH), so one whisper is always one line and the file can be read
// with any tool; the line is cut after `maxBytes` bytes, never inside a character.
std::string historyLine(const QDateTime& time, std::string_view speaker, std::string_view text,
                        std::size_t maxBytes);
std::string historyNote(const QDateTime& time, std::string_view note, std::size_t maxBytes);

}  // namespace tesk
