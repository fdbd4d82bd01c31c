#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace tesk {

// Received text (names, places, messages, whispers, statistics and console lines) as
// the windows show it: decoded as UTF-8 (a broken sequence becomes U+FFFD), every C0
// control character and DEL as its Unicode control picture (U+2400 + code, U+2421 for
// DEL), so that nothing received can break or forge a line; cut after at most
// `maxBytes` bytes (never inside a character) with a visible mark when longer.
QString shownText(std::string_view bytes, std::size_t maxBytes);

// The mark at the end of a cut text.
inline constexpr QChar kCutMark{0x2026};  // "…"

// The bytes of `bytes` that shownText keeps: at most `maxBytes`, never inside a UTF-8
// sequence.
std::size_t keptLength(std::string_view bytes, std::size_t maxBytes);

// Received text for a terminal: CR as \r and LF as \n, a tab kept, other C0 controls,
// DEL and C1 controls as \xHH, the bidirectional controls U+202A-U+202E and
// U+2066-U+2069 as \uHHHH, and broken UTF-8 as U+FFFD, so that nothing received can
// move the cursor, retitle the terminal or reorder what follows it.
std::string terminalText(std::string_view bytes);

// A tool tip that Qt and a tray host show as the plain text given: a word joiner
// (U+2060, invisible) after each "<" and "&" keeps them from reading a tag or an entity,
// so Qt never guesses rich text for it.
QString plainToolTip(const QString& text);

}  // namespace tesk
