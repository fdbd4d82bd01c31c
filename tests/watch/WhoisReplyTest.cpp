#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "connection/ReplyReading.h"
#include "watch/WhoisReply.h"

namespace tesk {

void PrintTo(const WatchedUser& user, std::ostream* out) {
    *out << "{presence " << static_cast<int>(user.presence) << ", place \"" << placeText(user)
         << "\", program \"" << user.program << "\", away \"" << user.awayMessage << "\", dnd \""
         << user.dndMessage << "\"" << (user.unread ? ", unread}" : "}");
}

}  // namespace tesk

using namespace tesk;
using P = Presence;
using K = Place::Kind;

namespace {

const std::string kOfflineReply = "1019 ERROR \"That user is not logged on.\"";

// A user with every field filled, so that each case shows what it keeps and what it clears.
WatchedUser filled(Presence presence) {
    return {presence, {K::Channel, "Old"}, "Old Program", "old away", "old dnd"};
}

WatchedUser user(Presence presence, Place place, std::string program, std::string away = "",
                 std::string dnd = "") {
    return {presence, std::move(place), program, away, dnd};
}

struct ReplyCase {
    const char* what;
    std::string line;
    WatchedUser before;
    WatchedUser expected;
};

// Each case also with the unread mark: no reply changes it.
void checkCase(const ReplyCase& c) {
    for (const bool unread : {false, true}) {
        WatchedUser before = c.before;
        WatchedUser expected = c.expected;
        before.unread = expected.unread = unread;
        const WhoisOutcome outcome = interpretWhoisReply(c.line, before);
        EXPECT_EQ(outcome.user, expected) << c.what << "\n  line: " << c.line;
        ReaderState reader{"/whois", "alice"};
        readReply(LineCase::WhoisReply, c.line, reader);
        EXPECT_EQ(reader.lastCommand, "/whois") << c.what;
    }
}

}  // namespace

TEST(InterpretWhoisReply, PlacePhrasesSetPlaceAndProgram) {
    const ReplyCase cases[] = {
        {"channel", "1018 INFO \"alice is using Warcraft III in the channel Clan Foo.\"",
         filled(P::Unknown), user(P::Online, {K::Channel, "Clan Foo"}, "Warcraft III")},
        {"game", "1018 INFO \"alice is using Starcraft in game Big Game Hunters.\"",
         filled(P::Unknown), user(P::Online, {K::Game, "Big Game Hunters"}, "Starcraft")},
        {"private game", "1018 INFO \"alice is using Diablo II in a private game.\"",
         filled(P::Unknown), user(P::Online, {K::PrivateGame, ""}, "Diablo II")},
        {"password game",
         "1018 INFO \"alice is using Warcraft II in the password protected game Secret.\"",
         filled(P::Unknown), user(P::Online, {K::PasswordGame, "Secret"}, "Warcraft II")},
        {"private channel", "1018 INFO \"alice is using Starcraft in a private channel.\"",
         filled(P::Unknown), user(P::Online, {K::PrivateChannel, ""}, "Starcraft")},
        {"a game name with a full stop and quote is cut there",
         "1018 INFO \"alice is using Starcraft in game Foo.\"Bar.\"", filled(P::Online),
         user(P::Online, {K::Game, "Foo"}, "Starcraft")},
        {"a channel name runs up to the first full stop and quote of the line",
         "1018 INFO \"Mr.\" alice is using Starcraft in the channel Foo.\"", filled(P::Online),
         user(P::Online, {K::Channel, ""}, "Starcraft")},
        {"the table order decides, not the order in the line",
         "1018 INFO \"in the channel X. in a private game.\"", filled(P::Online),
         user(P::Online, {K::PrivateGame, ""}, "Old Program")},
        {"in game comes before the other places",
         "1018 INFO \"in a private channel, in the channel C, in game G.\"", filled(P::Online),
         user(P::Online, {K::Game, "G"}, "Old Program")},
        {"program up to the first \" in \" of the line",
         "1018 INFO \"alice is using War in in the channel C.\"", filled(P::Online),
         user(P::Online, {K::Channel, "C"}, "War")},
        {"\" in \" before \"is using\" gives an empty program",
         "1018 INFO \"sign in now: alice is using Starcraft in the channel C.\"", filled(P::Online),
         user(P::Online, {K::Channel, "C"}, "")},
        {"program without \" in \" is empty", "1018 INFO \"alice is using Starcraft.\"",
         filled(P::Online), user(P::Online, {K::Channel, "Old"}, "")},
        {"place without its full stop and quote is only the prefix",
         "1018 INFO \"alice is in the channel Foo\"", filled(P::Online),
         user(P::Online, {K::Channel, ""}, "Old Program")},
        {"a line without phrases keeps place and program", "1018 INFO \"alice is here\"",
         filled(P::Away), user(P::Online, {K::Channel, "Old"}, "Old Program")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, AwayAndRefusingSetStateAndMessage) {
    const ReplyCase cases[] = {
        {"away", "1018 INFO \"alice is away (gone fishing)\"", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program", "gone fishing")},
        {"refusing", "1018 INFO \"alice is refusing messages (busy)\"", filled(P::Online),
         user(P::Dnd, {K::Channel, "Old"}, "Old Program", "", "busy")},
        // The first closing parenthesis and quote lies before the away message.
        {"away wins over refusing", "1018 INFO \"alice is refusing messages (x)\" is away (brb)\"",
         filled(P::Online), user(P::Away, {K::Channel, "Old"}, "Old Program")},
        {"away together with a channel sets only the message",
         "1018 INFO \"alice is away (brb)\" in the channel Foo.\"", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program", "brb")},
        {"the program is still taken after the away phrase",
         "1018 INFO \"alice is using Starcraft in the channel C. alice is away (lunch)\"",
         filled(P::Online), user(P::Away, {K::Channel, "Old"}, "Starcraft", "lunch")},
        {"message up to the first closing parenthesis and quote",
         "1018 INFO \"alice is away (a)\"b)\"", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program", "a")},
        {"away without its closing delimiter", "1018 INFO \"alice is away (gone\"",
         filled(P::Online), user(P::Away, {K::Channel, "Old"}, "Old Program")},
        {"delimiter before the message", "1018 INFO \")\" alice is away (gone)", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program")},
        // Without "(" the start is counted from the line's beginning (position 0 + 9).
        {"away without the parenthesis", "1018 INFO \"alice is away)\"", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program", "O \"alice is away")},
        {"refusing without the parenthesis", "1018 INFO \"bob is refusing messages)\"",
         filled(P::Online), user(P::Dnd, {K::Channel, "Old"}, "Old Program", "", "using messages")},
        {"empty message", "1018 INFO \"alice is away ()\"", filled(P::Offline),
         user(P::Away, {K::Channel, "Old"}, "Old Program")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, ErrorLinesKeepTheImageButClearMessages) {
    const ReplyCase cases[] = {
        {"other error", "1019 ERROR \"Unknown user.\"", filled(P::Away),
         user(P::Away, {K::Channel, "Old"}, "Old Program")},
        {"error with a phrase still applies it",
         "1019 ERROR \"alice is using Starcraft in the channel C.\"", filled(P::Unknown),
         user(P::Unknown, {K::Channel, "C"}, "Starcraft")},
        {"error with away sets the away image", "1019 ERROR \"alice is away (x)\"",
         filled(P::Unknown), user(P::Away, {K::Channel, "Old"}, "Old Program", "x")},
        {"offline text without its full stop", "1019 ERROR \"That user is not logged on\"",
         filled(P::Dnd), user(P::Dnd, {K::Channel, "Old"}, "Old Program")},
        {"offline text in other letter case", "1019 ERROR \"that user is not logged on.\"",
         filled(P::Online), user(P::Online, {K::Channel, "Old"}, "Old Program")},
        {"INFO anywhere sets online", "xx 1018 INFO", filled(P::Unknown),
         user(P::Online, {K::Channel, "Old"}, "Old Program")},
        {"info in lower case is not INFO", "1018 info \"x\"", filled(P::Unknown),
         user(P::Unknown, {K::Channel, "Old"}, "Old Program")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, OfflineReplyEmptiesTheRowFromAnyState) {
    WatchedUser marked = filled(P::Unknown);
    marked.unread = true;
    const struct {
        std::string line;
        WatchedUser before;
    } cases[] = {
        {kOfflineReply, filled(P::Online)},
        {kOfflineReply, filled(P::Away)},
        {kOfflineReply, filled(P::Unknown)},
        {kOfflineReply, marked},
        {kOfflineReply, filled(P::Offline)},
        // Anywhere in the line, and before any phrase.
        {"1018 INFO alice is away (x)\" " + kOfflineReply + " in the channel C.\"",
         filled(P::Online)},
    };
    for (const auto& c : cases) {
        WatchedUser offline = user(P::Offline, {}, "");
        offline.unread = c.before.unread;
        const WhoisOutcome outcome = interpretWhoisReply(c.line, c.before);
        EXPECT_EQ(outcome.user, offline) << c.line;
        ReaderState reader{"/whois", "alice"};
        readReply(LineCase::WhoisReply, c.line, reader);
        EXPECT_TRUE(reader.lastCommand.empty()) << c.line;  // the "/whois" has its answer
        EXPECT_FALSE(outcome.announce) << c.line;
    }
}

TEST(InterpretWhoisReply, AnnouncesOnlyFromOfflineToOnline) {
    const std::string online = "1018 INFO \"alice is using Starcraft in the channel C.\"";
    const struct {
        Presence before;
        std::string line;
        Presence after;
        bool announce;
        bool unread = false;
    } cases[] = {
        {P::Offline, online, P::Online, true},
        {P::Offline, "1018 INFO \"x\"", P::Online, true},
        {P::Offline, online, P::Online, true, true},  // a waiting message hides no one
        {P::Unknown, online, P::Online, false},
        {P::Online, online, P::Online, false},
        {P::Away, online, P::Online, false},
        {P::Dnd, online, P::Online, false},
        {P::Offline, "1018 INFO \"alice is away (x)\"", P::Away, false},
        {P::Offline, "1018 INFO \"alice is refusing messages (x)\"", P::Dnd, false},
        {P::Offline, "1019 ERROR \"Unknown user.\"", P::Offline, false},
        {P::Offline, kOfflineReply, P::Offline, false},
        {P::Away, kOfflineReply, P::Offline, false},
    };
    for (const auto& c : cases) {
        WatchedUser before = filled(c.before);
        before.unread = c.unread;
        const WhoisOutcome outcome = interpretWhoisReply(c.line, before);
        const int from = static_cast<int>(c.before);
        EXPECT_EQ(outcome.user.presence, c.after) << from << ": " << c.line;
        EXPECT_EQ(outcome.announce, c.announce) << from << ": " << c.line;
    }
}

TEST(InterpretWhoisReply, ShortEmptyAndBinaryLines) {
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
    }
    const std::string nul(1, '\0');
    const ReplyCase cases[] = {
        {"empty", "", filled(P::Unknown), user(P::Unknown, {K::Channel, "Old"}, "Old Program")},
        {"one byte", "\"", filled(P::Online), user(P::Online, {K::Channel, "Old"}, "Old Program")},
        {"phrase at the very end", "is away", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program")},
        {"opening at the very end", "1018 INFO is away (", filled(P::Online),
         user(P::Away, {K::Channel, "Old"}, "Old Program")},
        {"place at the very end", "in game", filled(P::Online),
         user(P::Online, {K::Game, ""}, "Old Program")},
        {"program at the very end", "is using", filled(P::Online),
         user(P::Online, {K::Channel, "Old"}, "")},
        {"every byte value", allBytes, filled(P::Online),
         user(P::Online, {K::Channel, "Old"}, "Old Program")},
        {"NUL bytes are ordinary characters", "1018 INFO" + nul + "is away (a" + nul + "b)\"" + nul,
         filled(P::Offline), user(P::Away, {K::Channel, "Old"}, "Old Program", "a" + nul + "b")},
        {"high bytes", "1018 INFO \"\xe9t\xe9 is using \xff\xfe in the channel \x80\x81.\"",
         filled(P::Unknown), user(P::Online, {K::Channel, "\x80\x81"}, "\xff\xfe")},
    };
    for (const ReplyCase& c : cases) {
        checkCase(c);
    }
}

TEST(InterpretWhoisReply, LongLine) {
    const std::string name(100000, 'x');
    const WhoisOutcome outcome = interpretWhoisReply(
        "1018 INFO \"alice is using P in the channel " + name + ".\"", filled(P::Offline));
    EXPECT_EQ(outcome.user.place, (Place{K::Channel, name}));
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
