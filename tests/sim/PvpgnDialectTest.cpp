// The simulator playing a PvPGN server, as recorded from a PvPGN 1.99.7 chat gateway: the
// chat class bytes and the prompts of the login, its failures, no guest account, no
// command echo, PvPGN's whois, mode, whisper and statistics lines, and its quota.
#include "SimClient.h"
#include "support/EventLoop.h"

#include <gtest/gtest.h>

namespace gatewaysim::test {
namespace {

using Lines = QList<QByteArray>;

Options pvpgn() {
    Options options;
    options.dialect = Dialect::Pvpgn;
    return options;
}

const Lines kGreeting = {"BOT or Telnet Connection from [127.0.0.1]", "",
                         "Enter your account name and password.",
                         "Sorry, there is no guest account.", ""};

// ---- Login ----

TEST(SimPvpgnLogin, ChatClassBytesThenPromptsWithoutLineEnds) {
    Options options = pvpgn();
    options.accounts.insert("alice", "secret");
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));

    client.sendRaw("\x03\x04");
    EXPECT_EQ(client.readLines(5), kGreeting);
    EXPECT_EQ(client.readRaw(10), QByteArray("Username: "));
    EXPECT_TRUE(client.silentFor(100)) << "the prompt has no line end";
    client.send("alice");
    EXPECT_EQ(client.readLine(), QByteArray("alice")) << "the name is repeated";
    EXPECT_EQ(client.readRaw(10), QByteArray("Password: "));
    client.send("secret");
    const Lines accepted = client.readLines(3);
    EXPECT_EQ(accepted, (Lines{"", "2010 NAME alice", "1007 CHANNEL \"Chat\""}));
    const Lines welcome = client.readLines(9);
    ASSERT_EQ(welcome.size(), 9);
    EXPECT_EQ(welcome[0], "1001 USER alice 0010 [CHAT]");
    EXPECT_EQ(welcome[1], "1019 ERROR \"Hello alice, welcome to PvPGN Realm!\"");
    EXPECT_TRUE(client.silentFor(100));
    EXPECT_EQ(sim->receivedLines(1), (Lines{"\x03\x04", "alice", "secret"}));
}

TEST(SimPvpgnLogin, ChatClassBytesInFrontOfTheNameAreRecordedApart) {
    auto sim = startSim(pvpgn());
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    EXPECT_EQ(client.loginPvpgn("bob", "pw"), "bob");
    EXPECT_EQ(sim->receivedLines(1), (Lines{"\x03\x04", "bob", "pw"}));
}

TEST(SimPvpgnLogin, WrongPasswordFailsAndPromptsAgainOnTheSameConnection) {
    Options options = pvpgn();
    options.accounts.insert("alice", "secret");
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    client.sendRaw(
        "\x03\x04"
        "alice\r\nwrong\r\n");
    client.readLines(5);
    EXPECT_EQ(client.readLines(4), (Lines{"Username: alice", "Password: ", "Login failed.", ""}));
    EXPECT_EQ(client.readRaw(10), QByteArray("Username: "));
    EXPECT_FALSE(client.closedByPeer(100));

    client.send("alice");
    EXPECT_EQ(client.readLine(), QByteArray("alice"));
    EXPECT_EQ(client.readRaw(10), QByteArray("Password: "));
    client.send("secret");
    EXPECT_EQ(client.readLines(2), (Lines{"", "2010 NAME alice"}));
}

TEST(SimPvpgnLogin, NoGuestAccountNoSecondLoginAndAnEmptyPasswordIsIgnored) {
    auto sim = startSim(pvpgn());
    ASSERT_TRUE(sim);
    SimClient guest;
    ASSERT_TRUE(guest.connectTo(sim->port()));
    EXPECT_TRUE(guest.loginPvpgn("anonymous", "guest").isEmpty());

    SimClient first;
    ASSERT_TRUE(first.connectTo(sim->port()));
    ASSERT_EQ(first.loginPvpgn("alice", "pw"), "alice");
    SimClient second;
    ASSERT_TRUE(second.connectTo(sim->port()));
    EXPECT_TRUE(second.loginPvpgn("ALICE", "pw").isEmpty()) << "alice is logged on already";

    SimClient patient;
    ASSERT_TRUE(patient.connectTo(sim->port()));
    patient.sendRaw(
        "\x03\x04"
        "carol\r\n\r\n");
    EXPECT_EQ(patient.readLines(6).value(5), "Username: carol");
    EXPECT_EQ(patient.readRaw(10), QByteArray("Password: "));
    EXPECT_TRUE(patient.silentFor(100)) << "still waiting for a password";
    patient.send("pw");
    EXPECT_EQ(patient.readLines(2), (Lines{"", "2010 NAME carol"}));
}

TEST(SimPvpgnLogin, AnyOtherFirstByteOrARefusalIsDroppedWithoutAWord) {
    auto sim = startSim(pvpgn());
    ASSERT_TRUE(sim);
    SimClient classic;
    ASSERT_TRUE(classic.connectTo(sim->port()));
    classic.send("c");
    EXPECT_TRUE(classic.closedByPeer());
    EXPECT_FALSE(classic.readLine(50));
    EXPECT_EQ(sim->receivedLines(1), Lines{"c"});

    sim->setRefuse(true);
    SimClient banned;
    ASSERT_TRUE(banned.connectTo(sim->port()));
    EXPECT_TRUE(banned.closedByPeer());
    EXPECT_FALSE(banned.readLine(50));
}

// ---- Commands ----

class SimPvpgnCommands : public ::testing::Test {
protected:
    void SetUp() override {
        sim = startSim(pvpgn());
        ASSERT_TRUE(sim);
        ASSERT_TRUE(client.connectTo(sim->port()));
        ASSERT_EQ(client.loginPvpgn("tester", "pw"), "tester");
    }

    // Sends a command and returns the lines that answer it; nothing more may follow.
    Lines ask(SimClient& from, const QByteArray& command, int replyLines) {
        from.send(command);
        const Lines lines = from.readLines(replyLines);
        EXPECT_TRUE(from.silentFor(50)) << command.constData();
        return lines;
    }

    std::unique_ptr<SimThread> sim;
    SimClient client;
};

TEST_F(SimPvpgnCommands, WhoisWordsEachPlaceAsPvpgnDoesWithoutEcho) {
    sim->setUserOnline("dave", "Starcraft", Place::channel("Foo"));
    EXPECT_EQ(client.readLine(),
              QByteArray("1004 WHISPER dave 0010 \"Your friend dave has entered PvPGN Realm.\""))
        << "every scripted user is a friend";
    const struct {
        Place place;
        QByteArray text;
    } cases[] = {
        {Place::channel("Foo Bar"),
         "dave is using Starcraft and is currently in channel \"Foo Bar\"."},
        {Place::game("tgame"), "dave is using Starcraft and is currently in  game \"tgame\"."},
        {Place::passwordGame("pgame"),
         "dave is using Starcraft and is currently in private game \"pgame\"."},
        {Place::privateChannel(), "dave is using Starcraft."},
    };
    for (const auto& c : cases) {
        sim->setUserOnline("dave", "Starcraft", c.place);
        EXPECT_EQ(ask(client, "/whois DAVE", 1), Lines{"1018 INFO \"" + c.text + '"'});
    }
}

TEST_F(SimPvpgnCommands, WhoisTellsOfflineAccountsFromUnknownNamesAndOneModeOnly) {
    sim->setUserOnline("carol", "Chat", Place::channel("Foo"));
    sim->setUserOffline("carol");  // an account that is not logged on
    EXPECT_EQ(client.readLines(2).value(1), "Your friend carol has left PvPGN Realm.");
    EXPECT_EQ(ask(client, "/whois carol", 1), Lines{"1018 INFO \"User is offline\""});
    EXPECT_EQ(ask(client, "/whois nosuchuser9", 1), Lines{"1019 ERROR \"Unknown user.\""});

    const QByteArray place = "1018 INFO \"bob is using Chat and is currently in channel \"Foo\".\"";
    sim->setUserOnline("bob", "Chat", Place::channel("Foo"));
    client.readLine();  // bob's log-on notice
    sim->setAway("bob", "some message");
    EXPECT_EQ(ask(client, "/whois bob", 2),
              (Lines{place, "1018 INFO \"bob away (some message)\""}));
    sim->setDnd("bob", "busy");
    EXPECT_EQ(ask(client, "/whois bob", 2),
              (Lines{place, "1018 INFO \"bob is refusing messages (busy)\""}))
        << "do-not-disturb hides away";
}

TEST_F(SimPvpgnCommands, ModesToggleWithPvpgnsNoticesAndDefaultMessages) {
    SimClient other;
    ASSERT_TRUE(other.connectTo(sim->port()));
    ASSERT_EQ(other.loginPvpgn("watcher", "pw"), "watcher");

    EXPECT_EQ(ask(client, "/away", 1), Lines{"1018 INFO \"You are now marked as being away.\""});
    EXPECT_EQ(ask(other, "/whois tester", 2).value(1),
              "1018 INFO \"tester away (Currently not available)\"");
    EXPECT_EQ(ask(client, "/away", 1), Lines{"1018 INFO \"You are no longer marked as away.\""});
    EXPECT_EQ(ask(client, "/dnd", 1), Lines{"1018 INFO \"Do Not Disturb mode engaged.\""});
    EXPECT_EQ(ask(other, "/whois tester", 2).value(1),
              "1018 INFO \"tester is refusing messages (Not available)\"");
    EXPECT_EQ(ask(client, "/dnd", 1), Lines{"1018 INFO \"Do Not Disturb mode canceled.\""});
}

TEST_F(SimPvpgnCommands, WhispersCarryFourCharacterFlagsAndHonourModes) {
    SimClient bob;
    ASSERT_TRUE(bob.connectTo(sim->port()));
    ASSERT_EQ(bob.loginPvpgn("bob", "pw"), "bob");

    EXPECT_EQ(ask(client, "/w bob hello there", 1), Lines{"1010 WHISPER bob 0010 \"hello there\""});
    EXPECT_EQ(bob.readLine(), QByteArray("1004 WHISPER tester 0010 \"hello there\""));

    ask(bob, "/away out to lunch", 1);
    EXPECT_EQ(ask(client, "/w bob are you there", 2),
              (Lines{"1010 WHISPER bob 0010 \"are you there\"",
                     "1018 INFO \"bob is away (out to lunch)\""}));
    bob.readLine();
    ask(bob, "/away", 1);
    ask(bob, "/dnd do not bother", 1);
    EXPECT_EQ(ask(client, "/w bob are you there", 1),
              Lines{"1018 INFO \"bob is unavailable (do not bother)\""});
    EXPECT_TRUE(bob.silentFor(50));
    EXPECT_EQ(ask(client, "/w carol hi", 1), Lines{"1019 ERROR \"That user is not logged on.\""});

    sim->whisperTo("tester", "alice", "psst");
    EXPECT_EQ(client.readLine(), QByteArray("1004 WHISPER alice 0010 \"psst\""));
}

TEST_F(SimPvpgnCommands, StatsBeginWithARecordHeadingInEveryProduct) {
    const Lines war3 = ask(client, "/stats bob war3", 10);
    ASSERT_EQ(war3.size(), 10);
    EXPECT_EQ(war3[0], "1018 INFO \"bob's Ladder Record's:\"");
    EXPECT_TRUE(war3[2].startsWith("1018 INFO \"SOLO Ladder Record: "));
    EXPECT_EQ(ask(client, "/stats BOB war3", 10).mid(1), war3.mid(1)) << "deterministic";

    EXPECT_EQ(ask(client, "/stats bob star", 3).value(0), "1018 INFO \"bob's record:\"");
    const Lines sexp = ask(client, "/stats bob sexp", 3);
    EXPECT_TRUE(sexp.value(1).startsWith("1018 INFO \"Ladder games: [n00b] "))
        << sexp.value(1).constData();
    EXPECT_TRUE(
        ask(client, "/stats bob w2bn", 4).value(3).startsWith("1018 INFO \"IronMan games:"));
    EXPECT_EQ(ask(client, "/stats john@northrend war3", 1), Lines{"1019 ERROR \"Unknown user.\""})
        << "PvPGN's names have no gateway part";
}

TEST_F(SimPvpgnCommands, UnknownCommandsAndChatTextGetPvpgnsAnswers) {
    EXPECT_EQ(ask(client, "/foobar", 1), Lines{"1019 ERROR \"Unknown command.\""});
    EXPECT_EQ(ask(client, "hello", 1), Lines{"1018 INFO \"No one hears you.\""});
    EXPECT_EQ(ask(client, "/join tesk room", 1), Lines{"1007 CHANNEL \"tesk room\""});
}

// ---- Quota ----

TEST(SimPvpgnQuota, LinesOverTheQuotaAreWarnedThenTheClientIsDroppedWithoutTheFloodingLine) {
    Options options = pvpgn();
    options.floodLines = 4;
    options.floodWindowMs = 10'000;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_EQ(client.loginPvpgn("erin", "pw"), "erin") << "the login lines do not count";

    QByteArray burst;
    for (int i = 0; i < 12; ++i) {
        burst += "/whois alice\r\n";
    }
    client.sendRaw(burst);
    const QByteArray quota = "1019 ERROR \"Your message quota has been exceeded!\"";
    const QByteArray slowDown =
        "1019 ERROR \"You are sending commands to PvPGN Realm too quickly and risk being "
        "disconnected for flooding. Please slow down.\"";
    // The line that reaches the quota is refused, and counted; the one that reaches twice
    // the quota is refused too, then the client dropped.
    Lines expected;
    for (int i = 0; i < 3; ++i) {
        expected << "1019 ERROR \"Unknown user.\"";
    }
    for (int i = 0; i < 5; ++i) {
        expected << quota << slowDown;
    }
    EXPECT_EQ(client.readLines(13), expected);
    EXPECT_TRUE(client.closedByPeer());
    EXPECT_FALSE(client.readLine(50)) << "no flooding line";
}

TEST(SimPvpgnQuota, ALineCostsAUnitPerFortyBytesAndAnOverlongOneIsNotCounted) {
    Options options = pvpgn();
    options.floodLines = 5;
    options.floodWindowMs = 10'000;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_EQ(client.loginPvpgn("erin", "pw"), "erin");
    client.send("/w nobody " + QByteArray(150, 'x'));  // 160 bytes: four units
    EXPECT_EQ(client.readLine(), QByteArray("1019 ERROR \"That user is not logged on.\""));
    client.send("/w nobody " + QByteArray(191, 'x'));  // 201 bytes
    EXPECT_EQ(client.readLine(),
              QByteArray("1019 ERROR \"Your line length quota has been exceeded!\""));
    client.readLine();
    client.send("/whois nobody");  // the fifth unit
    EXPECT_EQ(client.readLine(),
              QByteArray("1019 ERROR \"Your message quota has been exceeded!\""));
}

TEST(SimPvpgnQuota, ChatTextOverTheQuotaGetsTheQuotaLineOnly) {
    Options options = pvpgn();
    options.floodLines = 2;
    options.floodWindowMs = 10'000;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_EQ(client.loginPvpgn("erin", "pw"), "erin");
    client.sendRaw("flood line 0\r\nflood line 1\r\n");
    EXPECT_EQ(client.readLines(2), (Lines{"1018 INFO \"No one hears you.\"",
                                          "1019 ERROR \"Your message quota has been exceeded!\""}));
    EXPECT_TRUE(client.silentFor(50));
}

}  // namespace
}  // namespace gatewaysim::test
