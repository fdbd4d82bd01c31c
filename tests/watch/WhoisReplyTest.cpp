#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "watch/WhoisReply.h"

namespace tesk {

void PrintTo(const WatchRowState& row, std::ostream* out) {
    *out << "{image " << row.image << ", place \"" << row.place << "\", program \"" << row.program
         << "\", away \"" << row.awayMessage << "\", dnd \"" << row.dndMessage << "\"}";
}

}  // namespace tesk

using namespace tesk;

namespace {

const std::string kOfflineReply = "1019 ERROR \"That user is not logged on.\"";

// A row with every column filled, so that each case shows what it keeps and what it clears.
WatchRowState filledRow(int stateImage) {
    return {stateImage, "channel: Old", "Old Program", "old away", "old dnd"};
}

WatchRowState row(int stateImage, std::string place, std::string program, std::string away = "",
                  std::string dnd = "") {
    return {stateImage, place, program, away, dnd};
}

struct ReplyCase {
    const char* what;
    std::string line;
    WatchRowState before;
    WatchRowState expected;
};

void checkCase(const ReplyCase& c) {
    const WhoisOutcome outcome = interpretWhoisReply(c.line, c.before);
    EXPECT_EQ(outcome.row, c.expected) << c.what << "\n  line: " << c.line;
    EXPECT_FALSE(outcome.clearLastCommand) << c.what;
}

}  // namespace

TEST(InterpretWhoisReply, PlacePhrasesSetPlaceAndProgram) {
    const ReplyCase cases[] = {
        {"channel", "1018 INFO \"alice is using Warcraft III in the channel Clan Foo.\"",
         filledRow(12), row(9, "channel: Clan Foo", "Warcraft III")},
        {"game", "1018 INFO \"alice is using Starcraft in game Big Game Hunters.\"", filledRow(12),
         row(9, "game: Big Game Hunters", "Starcraft")},
        {"private game", "1018 INFO \"alice is using Diablo II in a private game.\"", filledRow(12),
         row(9, "private game", "Diablo II")},
        {"password game",
         "1018 INFO \"alice is using Warcraft II in the password protected game Secret.\"",
         filledRow(12), row(9, "password game: Secret", "Warcraft II")},
        {"private channel", "1018 INFO \"alice is using Starcraft in a private channel.\"",
         filledRow(12), row(9, "private channel", "Starcraft")},
        {"a game name with a full stop and quote is cut there",
         "1018 INFO \"alice is using Starcraft in game Foo.\"Bar.\"", filledRow(9),
         row(9, "game: Foo", "Starcraft")},
        {"a channel name runs up to the first full stop and quote of the line",
         "1018 INFO \"Mr.\" alice is using Starcraft in the channel Foo.\"", filledRow(9),
         row(9, "channel: ", "Starcraft")},
        {"the table order decides, not the order in the line",
         "1018 INFO \"in the channel X. in a private game.\"", filledRow(9),
         row(9, "private game", "Old Program")},
        {"in game comes before the other places",
         "1018 INFO \"in a private channel, in the channel C, in game G.\"", filledRow(9),
         row(9, "game: G", "Old Program")},
        {"program up to the first \" in \" of the line",
         "1018 INFO \"alice is using War in in the channel C.\"", filledRow(9),
         row(9, "channel: C", "War")},
        {"\" in \" before \"is using\" gives an empty program",
         "1018 INFO \"sign in now: alice is using Starcraft in the channel C.\"", filledRow(9),
         row(9, "channel: C", "")},
        {"program without \" in \" is empty", "1018 INFO \"alice is using Starcraft.\"",
         filledRow(9), row(9, "channel: Old", "")},
        {"place without its full stop and quote is only the prefix",
         "1018 INFO \"alice is in the channel Foo\"", filledRow(9),
         row(9, "channel: ", "Old Program")},
        {"a line without phrases keeps place and program", "1018 INFO \"alice is here\"",
         filledRow(10), row(9, "channel: Old", "Old Program")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, AwayAndRefusingSetStateAndMessage) {
    const ReplyCase cases[] = {
        {"away", "1018 INFO \"alice is away (gone fishing)\"", filledRow(9),
         row(10, "channel: Old", "Old Program", "gone fishing")},
        {"refusing", "1018 INFO \"alice is refusing messages (busy)\"", filledRow(9),
         row(11, "channel: Old", "Old Program", "", "busy")},
        // The first closing parenthesis and quote lies before the away message.
        {"away wins over refusing", "1018 INFO \"alice is refusing messages (x)\" is away (brb)\"",
         filledRow(9), row(10, "channel: Old", "Old Program")},
        {"away together with a channel sets only the message",
         "1018 INFO \"alice is away (brb)\" in the channel Foo.\"", filledRow(9),
         row(10, "channel: Old", "Old Program", "brb")},
        {"the program is still taken after the away phrase",
         "1018 INFO \"alice is using Starcraft in the channel C. alice is away (lunch)\"",
         filledRow(9), row(10, "channel: Old", "Starcraft", "lunch")},
        {"message up to the first closing parenthesis and quote",
         "1018 INFO \"alice is away (a)\"b)\"", filledRow(9),
         row(10, "channel: Old", "Old Program", "a")},
        {"away without its closing delimiter", "1018 INFO \"alice is away (gone\"", filledRow(9),
         row(10, "channel: Old", "Old Program")},
        {"delimiter before the message", "1018 INFO \")\" alice is away (gone)", filledRow(9),
         row(10, "channel: Old", "Old Program")},
        // Without "(" the start is counted from the line's beginning (position 0 + 9).
        {"away without the parenthesis", "1018 INFO \"alice is away)\"", filledRow(9),
         row(10, "channel: Old", "Old Program", "O \"alice is away")},
        {"refusing without the parenthesis", "1018 INFO \"bob is refusing messages)\"",
         filledRow(9), row(11, "channel: Old", "Old Program", "", "using messages")},
        {"empty message", "1018 INFO \"alice is away ()\"", filledRow(8),
         row(10, "channel: Old", "Old Program")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, ErrorLinesKeepTheImageButClearMessages) {
    const ReplyCase cases[] = {
        {"other error", "1019 ERROR \"Unknown user.\"", filledRow(10),
         row(10, "channel: Old", "Old Program")},
        {"error with a phrase still applies it",
         "1019 ERROR \"alice is using Starcraft in the channel C.\"", filledRow(12),
         row(12, "channel: C", "Starcraft")},
        {"error with away sets the away image", "1019 ERROR \"alice is away (x)\"", filledRow(12),
         row(10, "channel: Old", "Old Program", "x")},
        {"offline text without its full stop", "1019 ERROR \"That user is not logged on\"",
         filledRow(11), row(11, "channel: Old", "Old Program")},
        {"offline text in other letter case", "1019 ERROR \"that user is not logged on.\"",
         filledRow(9), row(9, "channel: Old", "Old Program")},
        {"INFO anywhere sets online", "xx 1018 INFO", filledRow(12),
         row(9, "channel: Old", "Old Program")},
        {"info in lower case is not INFO", "1018 info \"x\"", filledRow(12),
         row(12, "channel: Old", "Old Program")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, OfflineReplyEmptiesTheRowFromAnyState) {
    const WatchRowState offline = row(8, "offline", "");
    const struct {
        std::string line;
        WatchRowState before;
    } cases[] = {
        {kOfflineReply, filledRow(9)},
        {kOfflineReply, filledRow(10)},
        {kOfflineReply, filledRow(12)},
        {kOfflineReply, filledRow(13)},
        {kOfflineReply, filledRow(8)},
        // Anywhere in the line, and before any phrase.
        {"1018 INFO alice is away (x)\" " + kOfflineReply + " in the channel C.\"", filledRow(9)},
    };
    for (const auto& c : cases) {
        const WhoisOutcome outcome = interpretWhoisReply(c.line, c.before);
        EXPECT_EQ(outcome.row, offline) << c.line;
        EXPECT_TRUE(outcome.clearLastCommand) << c.line;
        EXPECT_FALSE(outcome.announce) << c.line;
    }
}

TEST(InterpretWhoisReply, AnnouncesOnlyFromOfflineToOnline) {
    const std::string online = "1018 INFO \"alice is using Starcraft in the channel C.\"";
    const struct {
        int before;
        std::string line;
        int after;
        bool announce;
    } cases[] = {
        {8, online, 9, true},
        {8, "1018 INFO \"x\"", 9, true},
        {12, online, 9, false},
        {13, online, 9, false},
        {9, online, 9, false},
        {10, online, 9, false},
        {11, online, 9, false},
        {8, "1018 INFO \"alice is away (x)\"", 10, false},
        {8, "1018 INFO \"alice is refusing messages (x)\"", 11, false},
        {8, "1019 ERROR \"Unknown user.\"", 8, false},
        {8, kOfflineReply, 8, false},
        {10, kOfflineReply, 8, false},
    };
    for (const auto& c : cases) {
        const WhoisOutcome outcome = interpretWhoisReply(c.line, filledRow(c.before));
        EXPECT_EQ(outcome.row.image, c.after) << c.before << ": " << c.line;
        EXPECT_EQ(outcome.announce, c.announce) << c.before << ": " << c.line;
    }
}

TEST(InterpretWhoisReply, ShortEmptyAndBinaryLines) {
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    const std::string nul(1, '\0');
    const ReplyCase cases[] = {
        {"empty", "", filledRow(13), row(13, "channel: Old", "Old Program")},
        {"one byte", "\"", filledRow(9), row(9, "channel: Old", "Old Program")},
        {"phrase at the very end", "is away", filledRow(9), row(10, "channel: Old", "Old Program")},
        {"opening at the very end", "1018 INFO is away (", filledRow(9),
         row(10, "channel: Old", "Old Program")},
        {"place at the very end", "in game", filledRow(9), row(9, "game: ", "Old Program")},
        {"program at the very end", "is using", filledRow(9), row(9, "channel: Old", "")},
        {"every byte value", allBytes, filledRow(9), row(9, "channel: Old", "Old Program")},
        {"NUL bytes are ordinary characters", "1018 INFO" + nul + "is away (a" + nul + "b)\"" + nul,
         filledRow(8), row(10, "channel: Old", "Old Program", "a" + nul + "b")},
        {"high bytes", "1018 INFO \"\xe9t\xe9 is using \xff\xfe in the channel \x80\x81.\"",
         filledRow(12), row(9, "channel: \x80\x81", "\xff\xfe")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, LongLine) {
    const std::string name(100000, 'x');
    const WhoisOutcome outcome = interpretWhoisReply(
        "1018 INFO \"alice is using P in the channel " + name + ".\"", filledRow(8));
    EXPECT_EQ(outcome.row.place, "channel: " + name);
    EXPECT_TRUE(outcome.announce);
}

TEST(TextUpTo, PositionsCountFromOneAndUseTheFirstDelimiter) {
    const std::string nul(1, '\0');
    const struct {
        std::string line;
        std::size_t from;
        std::string delimiter;
        std::string expected;
    } cases[] = {
        {"abc.\"def", 1, ".\"", "abc"},
        {"abc.\"def", 2, ".\"", "bc"},
        {"abc.\"def", 3, ".\"", "c"},
        {"abc.\"def", 4, ".\"", ""},  // start on the delimiter
        {"a.\"b.\"", 4, ".\"", ""},   // only the first occurrence counts
        {"abc", 1, ".\"", ""},        // delimiter missing
        {"abc.\"", 5, ".\"", ""},
        {"abc.\"", 6, ".\"", ""},     // one past the end
        {"abc.\"", 1000, ".\"", ""},  // far beyond the end
        {"abc.\"", std::numeric_limits<std::size_t>::max(), ".\"", ""},
        {"abc.\"", 0, ".\"", "abc"},  // position 0 reads from the start
        {"", 1, ".\"", ""},
        {"", 0, ".\"", ""},
        {"abc", 1, "", ""},
        {".\"", 1, ".\"", ""},
        {"ab in in c", 1, " in ", "ab"},
        {"x in", 1, " in ", ""},  // a partial delimiter at the end is no delimiter
        {"a" + nul + "b" + nul + "c", 1, nul + "c", "a" + nul + "b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textUpTo(c.line, c.from, c.delimiter), c.expected)
            << "line \"" << c.line << "\" from " << c.from << " up to \"" << c.delimiter << "\"";
    }
}
