#include <gtest/gtest.h>

#include <string>

#include "watch/ShownText.h"

using namespace tesk;
using namespace std::string_literals;

namespace {

struct Case {
    const char* name;
    std::string received;
    std::size_t maxBytes;
    QString shown;
    std::string terminal;
};

// A line with LF, CR, NUL, ESC, DEL, a C1 control, a bidi override and broken UTF-8:
// the windows show pictures and never break the line, the terminal sees escapes only.
const Case kCases[] = {
    {"plain", "hello there", 100, "hello there", "hello there"},
    {"line breaks", "a\nb\rc", 100, QString::fromUtf8("a\u240Ab\u240Dc"), "a\\nb\\rc"},
    {"nul does not cut", "a\0b"s, 100, QString::fromUtf8("a\u2400b"), "a\\x00b"},
    {"escape sequence", "\x1b]0;title\x07", 100, QString::fromUtf8("\u241B]0;title\u2407"),
     "\\x1B]0;title\\x07"},
    {"tab and delete", "a\tb\x7f", 100, QString::fromUtf8("a\u2409b\u2421"), "a\tb\\x7F"},
    {"c1 control",
     "a\xc2\x9b"
     "b",
     100, QString::fromUtf8("a\u009Bb"), "a\\x9Bb"},
    {"bidi override",
     "evil\xe2\x80\xae"
     "txt.exe",
     100, QString::fromUtf8("evil\u202Etxt.exe"), "evil\\u202Etxt.exe"},
    {"isolate", "\xe2\x81\xa6x", 100, QString::fromUtf8("\u2066x"), "\\u2066x"},
    {"broken utf-8",
     "a\xff"
     "b",
     100, QString::fromUtf8("a\uFFFDb"),
     "a\xef\xbf\xbd"
     "b"},
    {"cut with a mark", "abcdef", 4, QString::fromUtf8("abcd\u2026"), "abcdef"},
    {"cut never splits a character",
     "ab\xc3\xa9"
     "cd",
     3, QString::fromUtf8("ab\u2026"),
     "ab\xc3\xa9"
     "cd"},
    {"exactly the limit", "abcd", 4, "abcd", "abcd"},
};

class ShownTextCases : public ::testing::TestWithParam<Case> {};

TEST_P(ShownTextCases, WindowsShowPicturesAndTheTerminalEscapes) {
    const Case& c = GetParam();
    EXPECT_EQ(shownText(c.received, c.maxBytes), c.shown);
    EXPECT_EQ(terminalText(c.received), c.terminal);
}

INSTANTIATE_TEST_SUITE_P(Table, ShownTextCases, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
});

}  // namespace
