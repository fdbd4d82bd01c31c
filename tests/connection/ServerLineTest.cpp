#include <gtest/gtest.h>

#include "connection/Protocol.h"
#include "connection/ServerLine.h"

using namespace tesk;

namespace {

struct Case {
    const char* line;
    const char* lastCommand;
    LineCase expected;
};

}  // namespace

TEST(ClassifyServerLine, TestsTheCasesInTheirOrder) {
    const Case cases[] = {
        {"/whois alice", "", LineCase::CommandEcho},
        {"/whois alice", "/stats", LineCase::CommandEcho},
        {"1018 INFO \"alice is using Starcraft in the channel Foo.\"", "/whois", LineCase::WhoisReply},
        {"1019 ERROR \"That user is not logged on.\"", "/w", LineCase::WhoisReply},
        // A mode notice after a whois echo is a whois reply, not a mode change.
        {"1018 INFO \"You are now marked as being away.\"", "/whois", LineCase::WhoisReply},
        {"1018 INFO \"alice's record:\"", "/stats", LineCase::StatsReply},
        {"1019 ERROR \"Unknown product\"", "/stats", LineCase::StatsReply},
        {"1004 WHISPER bob 0000 \"hi\"", "/whois", LineCase::Whisper},
        {"1010 WHISPER bob 0000 \"hi\"", "", LineCase::Whisper},
        {"2010 NAME tesk", "/whois", LineCase::LoginAccepted},
        {"1018 INFO \"You are now marked as being away.\"", "/away", LineCase::AwayOn},
        {"1018 INFO \"Do Not Disturb mode engaged.\"", "", LineCase::DndOn},
        {"1018 INFO \"You are no longer marked as away.\"", "/away", LineCase::ModeOff},
        {"1018 INFO \"Do Not Disturb mode cancelled.\"", "/dnd", LineCase::ModeOff},
        {"You have been disconnected for flooding.", "/whois", LineCase::Flooding},
        {"Connection from [1.2.3.4] refused", "", LineCase::Refused},
        {"Login incorrect", "", LineCase::LoginIncorrect},
        // Near misses: whole-line matches must be whole.
        {"Login incorrect.", "", LineCase::Unrecognised},
        {"1018 INFO \"You are now marked as being away.\" ", "", LineCase::Unrecognised},
        {"1018 INFO \"Do Not Disturb mode canceled.\"", "", LineCase::Unrecognised},
        {"1018 INFO \"hello\"", "", LineCase::Unrecognised},
        {"1018 INFO \"hello\"", "/join", LineCase::Unrecognised},
        {"", "/whois", LineCase::Unrecognised},
        {"2000 NULL", "", LineCase::Unrecognised},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classifyServerLine(c.line, c.lastCommand), c.expected)
            << "line: " << c.line << " after: " << c.lastCommand;
    }
}

TEST(SplitCommandEcho, CommandIsTheFirstWordArgumentTheRest) {
    const CommandEcho whois = splitCommandEcho("/whois alice");
    EXPECT_EQ(whois.command, "/whois");
    EXPECT_EQ(whois.argument, "alice");

    const CommandEcho whisper = splitCommandEcho("/w bob hello there");
    EXPECT_EQ(whisper.command, "/w");
    EXPECT_EQ(whisper.argument, "bob hello there");

    const CommandEcho bare = splitCommandEcho("/away");
    EXPECT_EQ(bare.command, "");
    EXPECT_EQ(bare.argument, "/away");

    const CommandEcho trailing = splitCommandEcho("/stats ");
    EXPECT_EQ(trailing.command, "/stats");
    EXPECT_EQ(trailing.argument, "");
}

TEST(LogLine, ColourFollowsThePrefix) {
    EXPECT_EQ(logColourOf("1018 INFO \"x\""), (Rgb{0, 128, 0}));
    EXPECT_EQ(logColourOf("1019 ERROR \"x\""), (Rgb{128, 0, 0}));
    EXPECT_EQ(logColourOf("1004 WHISPER a 0000 \"x\""), (Rgb{0, 0, 128}));
    EXPECT_EQ(logColourOf("1010 WHISPER a 0000 \"x\""), (Rgb{0, 0, 128}));
    EXPECT_EQ(logColourOf("2000 NULL"), (Rgb{128, 128, 128}));
    EXPECT_EQ(logColourOf("1007 CHANNEL \"Chat\""), (Rgb{128, 128, 128}));
    EXPECT_EQ(logColourOf("2010 NAME me"), (Rgb{128, 0, 128}));
    EXPECT_EQ(logColourOf("/whois a"), (Rgb{0, 0, 0}));
    EXPECT_EQ(logColourOf(""), (Rgb{0, 0, 0}));
}

TEST(LogLine, StampIsTwoDigitHoursAndMinutes) {
    EXPECT_EQ(timeStampedLogText("2010 NAME me", 14, 5), "[14:05] 2010 NAME me");
    EXPECT_EQ(timeStampedLogText("", 0, 0), "[00:00] ");
    EXPECT_EQ(timeStampedLogText("x", 9, 59).size(), 9u);
}

TEST(Protocol, JoinCommandHasNoSpaceBeforeTheNumber) {
    const std::string join = protocol::joinChannelCommand(4711);
    EXPECT_EQ(join, "/join public chat tesk4711");
    EXPECT_EQ(join.size(), 26u);
}

TEST(Protocol, ConnectFailureMessageNamesTheStatusPage) {
    const std::string message = protocol::cannotConnectMessage();
    EXPECT_EQ(message.rfind("Can't estabilish connection!\nCheck your Internet connection", 0), 0u);
    EXPECT_NE(message.find("/forums/battlenet-status/)."), std::string::npos);
}
