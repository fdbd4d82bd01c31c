#pragma once

#include <string>

namespace tesk {

// What the reader remembers between lines: the command the next replies answer.
struct ReaderState {
    std::string lastCommand;   // command word of the last command echo, e.g. "/whois"
    std::string lastArgument;  // the rest of that echo after its first space
    // The whisper of the last "/w" echo has had its answer: the gateway's confirmation
    // or its refusal.
    bool whisperAnswered = false;
};

}  // namespace tesk
