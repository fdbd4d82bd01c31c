#pragma once

#include <optional>
#include <string_view>

#include "connection/ReaderState.h"
#include "connection/ServerEvent.h"

namespace tesk {

// What a received line says about the whisper of the last "/w NAME TEXT" echo. The
// whisper gets one answer: the gateway's confirmation ("1010 WHISPER"), or a refusal
// that comes before it, which is an error line or the notice that the partner refuses
// messages. Lines after the answer, up to the next echo, answer nothing: the flooding
// warning that follows a quota error is no second refusal, and the away notice that
// follows a confirmation no refusal at all.
struct WhisperAnswer {
    bool answers = false;
    std::optional<WhisperRefusal> refusal;
};
WhisperAnswer answerToWhisper(std::string_view line, const ReaderState& state);

}  // namespace tesk
