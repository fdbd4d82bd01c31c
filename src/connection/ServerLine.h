#pragma once

#include <string>
#include <string_view>

namespace tesk {

// What the reader does with one received line, in the order the cases are tested.
enum class LineCase {
    CommandEcho,     // begins with "/": remember the command and its argument
    WhoisReply,      // INFO/ERROR after "/whois" or "/w"
    StatsReply,      // INFO/ERROR after "/stats"
    Whisper,         // 1004 or 1010 WHISPER
    LoginAccepted,   // 2010 NAME
    AwayOn,
    DndOn,
    ModeOff,         // away or DND switched off
    Flooding,
    Refused,
    LoginIncorrect,
    Unrecognised,
};

LineCase classifyServerLine(std::string_view line, std::string_view lastCommand);

// The command word (up to the first space) and the rest after that space. Without a
// space the command is empty and the argument is the whole line.
struct CommandEcho {
    std::string command;
    std::string argument;
};
CommandEcho splitCommandEcho(std::string_view line);

// Console colour of a received line.
struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
Rgb logColourOf(std::string_view line);

// The console's colour for what TESK itself has to say there.
inline constexpr Rgb kNoteColour{128, 0, 0};

// "[hh:mm] " followed by the line.
std::string timeStampedLogText(std::string_view line, int hour, int minute);

bool startsWith(std::string_view text, std::string_view prefix);

}  // namespace tesk
