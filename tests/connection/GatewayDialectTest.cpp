// The server dialects at the edge of the connection: PvPGN's lines, as recorded from a
// PvPGN 1.99.7 server, in their classic forms and how the reader then classifies them;
// the login lines of each server type; and the command echoes that PvPGN never sends.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "connection/GatewayDialect.h"
#include "connection/Protocol.h"
#include "connection/PvpgnNotices.h"
#include "connection/ServerLine.h"
#include "platform/StopFlag.h"

using namespace tesk;

namespace {

using Lines = std::vector<std::string>;

struct Rewrite {
    const char* pvpgn;
    const char* classic;
};

void expectRewrites(const std::vector<Rewrite>& table) {
    for (const Rewrite& row : table) {
        EXPECT_EQ(classicFromPvpgn(row.pvpgn), row.classic) << "from: " << row.pvpgn;
    }
}

SettingsValues settingsFor(ServerType type, bool anonymous) {
    SettingsValues values;
    values.serverType = type;
    values.anonymous = anonymous;
    values.user = "alice";
    values.password = "secret";
    return values;
}

}  // namespace

// ---- Rewriting PvPGN's lines ----

TEST(ClassicFromPvpgn, WhoisPlacesTakeTheClassicWording) {
    expectRewrites({
        {"1018 INFO \"bob is using Chat and is currently in channel \"public chat tesk4711\".\"",
         "1018 INFO \"bob is using Chat in the channel public chat tesk4711.\""},
        {"1018 INFO \"bob is using Chat and is currently in channel \"tesk private room\".\"",
         "1018 INFO \"bob is using Chat in the channel tesk private room.\""},
        {"1018 INFO \"dave is using Starcraft and is currently in channel \"Starcraft-1\".\"",
         "1018 INFO \"dave is using Starcraft in the channel Starcraft-1.\""},
        {"1018 INFO \"dave is using Starcraft and is currently in  game \"tgame\".\"",
         "1018 INFO \"dave is using Starcraft in game tgame.\""},
        {"1018 INFO \"dave is using Starcraft and is currently in private game \"pgame\".\"",
         "1018 INFO \"dave is using Starcraft in a private game.\""},
        // In no channel and in no game, e.g. in a game's lobby.
        {"1018 INFO \"dave is using Starcraft.\"",
         "1018 INFO \"dave is using Starcraft in no channel and no game.\""},
        {"1018 INFO \"You are using Chat and are currently in channel \"Chat\".\"",
         "1018 INFO \"You are using Chat in the channel Chat.\""},
        // Quotes inside a channel name stay; the name runs to the closing quote and stop.
        {"1018 INFO \"bob is using Chat and is currently in channel \"say \"hi\"\".\"",
         "1018 INFO \"bob is using Chat in the channel say \"hi\".\""},
    });
}

TEST(ClassicFromPvpgn, OfflineAwayAndRefusalsTakeTheClassicWording) {
    expectRewrites({
        {"1018 INFO \"User is offline\"", protocol::kNotLoggedOnReply},
        {"1019 ERROR \"Unknown user.\"", protocol::kNotLoggedOnReply},
        {"1018 INFO \"bob away (some message)\"", "1018 INFO \"bob is away (some message)\""},
        {"1018 INFO \"bob away (Currently not available)\"",
         "1018 INFO \"bob is away (Currently not available)\""},
        {"1018 INFO \"bob is unavailable (do not bother)\"",
         "1018 INFO \"bob is refusing messages (do not bother)\""},
        {"1018 INFO \"Do Not Disturb mode canceled.\"", protocol::kDndOff},
    });
}

TEST(ClassicFromPvpgn, LoginLinesAndGluedPromptsTakeTheClassicWording) {
    expectRewrites({
        {"Login failed.", protocol::kLoginIncorrect},
        {"Account has no bot access.", protocol::kLoginIncorrect},
        {"Username: alice", "alice"},
        {"Password: ", ""},
        {"Username: ", ""},
        {"Password: 2010 NAME alice", "2010 NAME alice"},
        {"Username: Password: Login failed.", protocol::kLoginIncorrect},
    });
}

TEST(ClassicFromPvpgn, TheWarcraftIIIRecordHeadingBecomesARecordLine) {
    expectRewrites({
        {"1018 INFO \"bob's Ladder Record's:\"", "1018 INFO \"bob's record:\""},
    });
}

TEST(ClassicFromPvpgn, LinesThatAreAlreadyClassicOrMeanNothingStayAsTheyAre) {
    const char* const same[] = {
        "BOT or Telnet Connection from [127.0.0.1]",
        "",
        "Enter your account name and password.",
        "Sorry, there is no guest account.",
        "2010 NAME alice",
        "1007 CHANNEL \"Chat\"",
        "1001 USER alice 0010 [CHAT]",
        "1019 ERROR \"Hello alice, welcome to PvPGN Realm!\"",
        "1018 INFO \"\"",
        "1005 TALK alice 0010 \"You have no mail.\"",
        "1018 INFO \"you are now tempOP for this channel\"",
        "1009 USER bob 0000",
        "1002 JOIN bob 0010 [CHAT]",
        "1003 LEAVE bob 0000",
        "1023 EMOTE alice 0002 \"waves\"",
        "1018 INFO \"Server Time: Tue Dec 08 17:01:32\"",
        "1018 INFO \"bob is refusing messages (some message)\"",
        "1018 INFO \"bob is away (out to lunch)\"",
        "1018 INFO \"You are now marked as being away.\"",
        "1018 INFO \"You are no longer marked as away.\"",
        "1018 INFO \"Do Not Disturb mode engaged.\"",
        "1010 WHISPER bob 0002 \"hello there\"",
        "1004 WHISPER alice 0010 \"hello there\"",
        "1019 ERROR \"That user is not logged on.\"",
        "1018 INFO \"bob's record:\"",
        "1018 INFO \"SOLO Ladder Record: 0-0-0\"",
        "1018 INFO \"Ladder games: [n00b] 0 pts (0/0/0)\"",
        "1019 ERROR \"Invalid user.\"",
        "1019 ERROR \"Unknown command.\"",
        "1018 INFO \"No one hears you.\"",
        "1019 ERROR \"Your message quota has been exceeded!\"",
        // Near misses: the wording must be the whole reply, of the right kind.
        "1019 ERROR \"bob away (x)\"",
        "1018 INFO \"two words away (x)\"",
        "1004 WHISPER bob 0010 \"bob away (brb)\"",
        "1018 INFO \"User is offline\" ",
        "Login failed",
        "1018 INFO \"bob is using Chat and is currently in the kitchen.\"",
        "1018 INFO \"alice is using Starcraft in the channel Foo.\"",
        "1018 INFO \"alice is using Starcraft in a private game.\"",
        "1018 INFO \"'s Ladder Record's:\"",
    };
    for (const char* line : same) {
        EXPECT_EQ(classicFromPvpgn(line), line);
    }
}

TEST(PvpgnWhoisAnswer, OnlyPvpgnsOwnWhoisFormsAnswerAWhois) {
    const std::pair<const char*, bool> cases[] = {
        {"1018 INFO \"bob is using Chat and is currently in channel \"Foo\".\"", true},
        {"1018 INFO \"dave is using Starcraft.\"", true},
        {"1018 INFO \"You are using Chat and are currently in channel \"Chat\".\"", true},
        {"1018 INFO \"bob away (lunch)\"", true},
        {"1018 INFO \"bob is refusing messages (busy)\"", true},
        {"1018 INFO \"User is offline\"", true},
        {"1019 ERROR \"Unknown user.\"", true},
        {"1018 INFO \"\"", false},
        {"1018 INFO \"Server Time: Tue Dec 08 17:01:32\"", false},
        {"1018 INFO \"bob is using Chat and is currently in the kitchen.\"", false},
        {"1019 ERROR \"Your message quota has been exceeded!\"", false},
    };
    for (const auto& [line, answers] : cases) {
        EXPECT_EQ(isPvpgnWhoisAnswer(line), answers) << line;
    }
}

TEST(ClassicFromPvpgn, RewrittenLinesMeanToTheReaderWhatTheyMeanOnPvpgn) {
    const struct {
        const char* pvpgn;
        const char* lastCommand;
        LineCase expected;
    } cases[] = {
        {"Login failed.", "", LineCase::LoginIncorrect},
        {"Account has no bot access.", "", LineCase::LoginIncorrect},
        {"Password: 2010 NAME alice", "", LineCase::LoginAccepted},
        {"1018 INFO \"Do Not Disturb mode canceled.\"", "/dnd", LineCase::ModeOff},
        {"1018 INFO \"User is offline\"", "/whois", LineCase::WhoisReply},
        {"BOT or Telnet Connection from [127.0.0.1]", "", LineCase::Unrecognised},
        {"Username: alice", "", LineCase::Unrecognised},
        {"1019 ERROR \"You are sending commands to PvPGN Realm too quickly and risk being "
         "disconnected for flooding. Please slow down.\"",
         "", LineCase::Unrecognised},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(classifyServerLine(classicFromPvpgn(c.pvpgn), c.lastCommand), c.expected)
            << c.pvpgn;
    }
}

TEST(PvpgnFriendNotice, OnlyTheServersOwnNoticesCount) {
    const struct {
        const char* line;
        const char* notice;  // "name entered", "name left", or null for none
    } cases[] = {
        {"1004 WHISPER alice 0010 \"Your friend alice has entered PvPGN Realm.\"", "alice entered"},
        {"1004 WHISPER alice 0010 \"Your friend alice has entered Northrend.\"", "alice entered"},
        {"Your friend alice has left PvPGN Realm.", "alice left"},
        // Anyone can whisper the words; only the friend himself with the notice's flags counts.
        {"1004 WHISPER bob 0010 \"Your friend alice has entered PvPGN Realm.\"", nullptr},
        {"1004 WHISPER alice 0000 \"Your friend alice has entered PvPGN Realm.\"", nullptr},
        {"1010 WHISPER alice 0010 \"Your friend alice has entered PvPGN Realm.\"", nullptr},
        {"1004 WHISPER alice 0010 \"Your friend alice has left PvPGN Realm.\"", nullptr},
        {"1004 WHISPER alice 0010 \"Your friend alice has entered PvPGN Realm. Not!\"", nullptr},
        {"1018 INFO \"Your friend alice has left PvPGN Realm.\"", nullptr},
        {"Your friend alice has left .", nullptr},
        {"Your friend  has left PvPGN Realm.", nullptr},
        {"Your friend alice has left PvPGN Realm", nullptr},
        {"1004 WHISPER alice 0010 \"", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<FriendNotice> notice = pvpgnFriendNotice(c.line);
        EXPECT_EQ(notice ? notice->name + (notice->online ? " entered" : " left") : "none",
                  c.notice ? c.notice : "none")
            << c.line;
    }
    GatewayDialect dialect;
    const std::string logOn = "1004 WHISPER alice 0010 \"Your friend alice has entered X.\"";
    EXPECT_FALSE(dialect.read(logOn).friendNotice) << "Classic has no friend notices";
    dialect.begin(ServerType::PvPGN);
    EXPECT_TRUE(dialect.read(logOn).friendNotice);
}

// ---- Login ----

TEST(GatewayDialectLogin, ClassicSendsTheClassLineThenTheAccountOrAnonymous) {
    EXPECT_EQ(GatewayDialect::loginLines(settingsFor(ServerType::Classic, true)),
              (Lines{"c", "anonymous"}));
    EXPECT_EQ(GatewayDialect::loginLines(settingsFor(ServerType::Classic, false)),
              (Lines{"c", "alice", "secret"}));
}

TEST(GatewayDialectLogin, PvpgnSendsTheChatClassBytesInFrontOfTheName) {
    const Lines lines = GatewayDialect::loginLines(settingsFor(ServerType::PvPGN, false));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string("\x03\x04") + "alice");
    EXPECT_EQ(lines[1], "secret");
}

TEST(GatewayDialectLogin, OnlyPvpgnWithAnonymousAccessCannotLogIn) {
    EXPECT_STREQ(GatewayDialect::loginObstacle(settingsFor(ServerType::PvPGN, true)),
                 protocol::kAccountNeededMessage);
    EXPECT_EQ(GatewayDialect::loginObstacle(settingsFor(ServerType::PvPGN, false)), nullptr);
    EXPECT_EQ(GatewayDialect::loginObstacle(settingsFor(ServerType::Classic, true)), nullptr);
    EXPECT_EQ(GatewayDialect::loginObstacle(settingsFor(ServerType::Classic, false)), nullptr);
}

// ---- Echoes and the line on the way in ----

TEST(GatewayDialectEchoes, ClassicOwesNoEchoAndPassesLinesThrough) {
    GatewayDialect dialect;
    EXPECT_EQ(dialect.type(), ServerType::Classic);
    dialect.commandSending("/whois bob");
    EXPECT_TRUE(dialect.takeEchoes().empty());
    for (const char* line :
         {"Login failed.", "Password: 2010 NAME alice", "1018 INFO \"User is offline\""}) {
        EXPECT_EQ(dialect.read(line).classic, line);
    }
}

TEST(GatewayDialectEchoes, PvpgnOwesTheEchoOfEachCommandOnceInOrder) {
    GatewayDialect dialect;
    dialect.begin(ServerType::PvPGN);
    EXPECT_EQ(dialect.type(), ServerType::PvPGN);
    dialect.commandSending("/whois bob");
    dialect.commandSending("hello everybody");  // chat text is not a command
    dialect.commandSending("/w bob hi there");
    EXPECT_EQ(dialect.takeEchoes(), (Lines{"/whois bob", "/w bob hi there"}));
    EXPECT_TRUE(dialect.takeEchoes().empty());
    EXPECT_EQ(dialect.read("Login failed.").classic, protocol::kLoginIncorrect);

    // Only what leaves on the wire is echoed: the line stops at a line break.
    dialect.commandSending("/whois carol\r\n/away");
    EXPECT_EQ(dialect.takeEchoes(), (Lines{"/whois carol"}));
}

TEST(GatewayDialectEchoes, ANewConnectionForgetsTheEchoesOfTheOldOne) {
    GatewayDialect dialect;
    dialect.begin(ServerType::PvPGN);
    dialect.commandSending("/whois bob");
    dialect.begin(ServerType::PvPGN);
    EXPECT_TRUE(dialect.takeEchoes().empty());

    dialect.commandSending("/whois bob");
    dialect.begin(ServerType::Classic);
    dialect.commandSending("/whois carol");
    EXPECT_TRUE(dialect.takeEchoes().empty());
    EXPECT_EQ(dialect.read("Login failed.").classic, "Login failed.");
}

TEST(GatewayDialectEchoes, WriterAndReaderMayUseItAtOnce) {
    GatewayDialect dialect;
    dialect.begin(ServerType::PvPGN);
    constexpr int kCommands = 2000;
    std::atomic<bool> written{false};
    std::thread writer([&] {
        for (int i = 0; i < kCommands; ++i) {
            dialect.commandSending("/whois u" + std::to_string(i));
        }
        written = true;
    });
    Lines taken;
    for (bool done = false; !done;) {
        done = written.load();  // whatever was written before this is taken below
        for (std::string& echo : dialect.takeEchoes()) {
            taken.push_back(std::move(echo));
        }
    }
    writer.join();
    ASSERT_EQ(taken.size(), static_cast<std::size_t>(kCommands));
    for (int i = 0; i < kCommands; ++i) {
        EXPECT_EQ(taken[i], "/whois u" + std::to_string(i));
    }
}

// ---- Waiting for the reader before a command ----

namespace {

using Clock = std::chrono::steady_clock;

// Well below the longest wait, with room for a busy machine.
constexpr std::chrono::milliseconds kNoWait = GatewayDialect::kLongestWait / 2;

std::chrono::milliseconds timeToSend(GatewayDialect& dialect, const char* line, StopFlag& stop) {
    const auto start = Clock::now();
    dialect.awaitQuietReader(line, stop);
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

}  // namespace

TEST(GatewayDialectQuietReader, OnlyPvpgnCommandsWaitAndNeverLongerThanTheLimit) {
    GatewayDialect dialect;
    StopFlag stop;
    dialect.readerWaiting(false);  // busy with lines
    EXPECT_LT(timeToSend(dialect, "/whois bob", stop), kNoWait) << "Classic never waits";
    dialect.begin(ServerType::PvPGN);
    EXPECT_LT(timeToSend(dialect, "hello", stop), kNoWait) << "chat text owes no echo";
    const auto waited = timeToSend(dialect, "/whois bob", stop);
    EXPECT_GE(waited, GatewayDialect::kLongestWait - std::chrono::milliseconds(10));
    EXPECT_LT(waited, GatewayDialect::kLongestWait * 3);
}

TEST(GatewayDialectQuietReader, ACommandGoesOnceTheReaderHasWaitedAMoment) {
    GatewayDialect dialect;
    dialect.begin(ServerType::PvPGN);
    StopFlag stop;
    dialect.readerWaiting(true);
    std::this_thread::sleep_for(GatewayDialect::kQuietFor + std::chrono::milliseconds(10));
    EXPECT_LT(timeToSend(dialect, "/whois bob", stop), kNoWait) << "already quiet";

    dialect.readerWaiting(false);
    std::thread reader([&dialect] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        dialect.readerWaiting(true);
    });
    const auto waited = timeToSend(dialect, "/whois bob", stop);
    reader.join();
    EXPECT_GE(waited, std::chrono::milliseconds(100) + GatewayDialect::kQuietFor -
                          std::chrono::milliseconds(10));
    EXPECT_LT(waited, GatewayDialect::kLongestWait);
}

TEST(GatewayDialectQuietReader, StoppingEndsTheWait) {
    GatewayDialect dialect;
    dialect.begin(ServerType::PvPGN);
    StopFlag stop;
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.raise();
    });
    const auto waited = timeToSend(dialect, "/whois bob", stop);
    stopper.join();
    EXPECT_LT(waited, GatewayDialect::kLongestWait - std::chrono::milliseconds(100));
}
