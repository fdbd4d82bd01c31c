#include "SimClient.h"

#include <gtest/gtest.h>

namespace gatewaysim::test {
namespace {

class SimCommands : public ::testing::Test {
protected:
    void SetUp() override {
        sim = startSim();
        ASSERT_TRUE(sim);
        ASSERT_TRUE(client.connectTo(sim->port()));
        ASSERT_EQ(client.login("tester", "pw"), "tester");
    }

    // Sends a command and returns the lines that answer it, echo first.
    QList<QByteArray> ask(SimClient& from, const QByteArray& command, int replyLines) {
        from.send(command);
        return from.readLines(replyLines + 1);
    }

    std::unique_ptr<SimThread> sim;
    SimClient client;
};

TEST_F(SimCommands, WhoisDescribesEachPlaceAfterTheEcho) {
    const struct {
        Place place;
        QByteArray text;
    } cases[] = {
        {Place::channel("Foo Bar"), "alice is using Starcraft in the channel Foo Bar."},
        {Place::game("Bar"), "alice is using Starcraft in game Bar."},
        {Place::privateGame(), "alice is using Starcraft in a private game."},
        {Place::passwordGame("Baz"),
         "alice is using Starcraft in the password protected game Baz."},
        {Place::privateChannel(), "alice is using Starcraft in a private channel."},
    };
    for (const auto& c : cases) {
        sim->setUserOnline("alice", "Starcraft", c.place);
        EXPECT_EQ(ask(client, "/whois ALICE", 1),
                  (QList<QByteArray>{"/whois ALICE", "1018 INFO \"" + c.text + '"'}));
    }
    EXPECT_TRUE(client.silentFor(50)) << "one line per place, nothing more";
}

TEST_F(SimCommands, WhoisAddsAwayAndDndAndKnowsOfflineUsers) {
    EXPECT_EQ(ask(client, "/whois alice", 1),
              (QList<QByteArray>{"/whois alice", "1019 ERROR \"That user is not logged on.\""}));

    sim->setUserOnline("alice", "Starcraft", Place::channel("Foo"));
    sim->setAway("alice", "gone fishing");
    EXPECT_EQ(ask(client, "/whois alice", 2).mid(1),
              (QList<QByteArray>{"1018 INFO \"alice is using Starcraft in the channel Foo.\"",
                                 "1018 INFO \"alice is away (gone fishing)\""}));

    sim->setAway("alice", "");
    sim->setDnd("alice", "busy");
    EXPECT_EQ(ask(client, "/whois alice", 2).mid(1),
              (QList<QByteArray>{"1018 INFO \"alice is using Starcraft in the channel Foo.\"",
                                 "1018 INFO \"alice is refusing messages (busy)\""}));

    sim->setUserOffline("alice");
    EXPECT_EQ(ask(client, "/whois alice", 1).value(1),
              "1019 ERROR \"That user is not logged on.\"");
    sim->setUserOnline("alice", "Starcraft", Place::channel("Foo"));
    EXPECT_EQ(ask(client, "/whois alice", 1).value(1),
              "1018 INFO \"alice is using Starcraft in the channel Foo.\"")
        << "logging off ends do-not-disturb";
    EXPECT_TRUE(client.silentFor(50));
}

TEST_F(SimCommands, ModesToggleWithTheirNoticesAndShowInWhois) {
    EXPECT_EQ(ask(client, "/away", 1),
              (QList<QByteArray>{"/away", "1018 INFO \"You are now marked as being away.\""}));
    EXPECT_EQ(ask(client, "/dnd", 1),
              (QList<QByteArray>{"/dnd", "1018 INFO \"Do Not Disturb mode engaged.\""}));

    SimClient other;
    ASSERT_TRUE(other.connectTo(sim->port()));
    ASSERT_FALSE(other.loginAnonymous().isEmpty());
    const QList<QByteArray> whois = ask(other, "/whois Tester", 3);
    ASSERT_EQ(whois.size(), 4);
    EXPECT_EQ(whois[1], "1018 INFO \"tester is using Chat in the channel Chat.\"");
    EXPECT_TRUE(whois[2].startsWith("1018 INFO \"tester is away ("));
    EXPECT_TRUE(whois[3].startsWith("1018 INFO \"tester is refusing messages ("));

    EXPECT_EQ(ask(client, "/away", 1).value(1), "1018 INFO \"You are no longer marked as away.\"");
    EXPECT_EQ(ask(client, "/dnd", 1).value(1), "1018 INFO \"Do Not Disturb mode cancelled.\"");
    EXPECT_EQ(ask(other, "/whois tester", 1).size(), 2);
    EXPECT_TRUE(other.silentFor(50));
}

TEST_F(SimCommands, JoinMovesTheClient) {
    EXPECT_EQ(
        ask(client, "/join public chat tesk4711", 1),
        (QList<QByteArray>{"/join public chat tesk4711", "1007 CHANNEL \"public chat tesk4711\""}));
    EXPECT_EQ(ask(client, "/whois tester", 1).value(1),
              "1018 INFO \"tester is using Chat in the channel public chat tesk4711.\"");
}

TEST_F(SimCommands, WhisperReachesAnotherClientAndConfirmsToTheSender) {
    SimClient bob;
    ASSERT_TRUE(bob.connectTo(sim->port()));
    ASSERT_EQ(bob.login("bob", "pw"), "bob");

    EXPECT_EQ(ask(client, "/w BOB hi there, \"bob\"", 1),
              (QList<QByteArray>{"/w BOB hi there, \"bob\"",
                                 "1010 WHISPER bob 0000 \"hi there, \"bob\"\""}));
    EXPECT_EQ(bob.readLine(), QByteArray("1004 WHISPER tester 0000 \"hi there, \"bob\"\""));

    EXPECT_EQ(ask(client, "/w nobody hello", 1).value(1),
              "1019 ERROR \"That user is not logged on.\"");
    EXPECT_TRUE(bob.silentFor(50));
}

TEST_F(SimCommands, WhisperToScriptedUsersHonoursModesAndAutoReply) {
    sim->setUserOnline("carol", "Diablo II", Place::privateChannel());
    sim->setAutoReply("carol", "brb");
    sim->setAway("carol", "lunch");
    EXPECT_EQ(ask(client, "/w carol ping", 3).mid(1),
              (QList<QByteArray>{"1010 WHISPER carol 0000 \"ping\"",
                                 "1018 INFO \"carol is away (lunch)\"",
                                 "1004 WHISPER carol 0000 \"brb\""}));

    sim->setAway("carol", "");
    sim->setDnd("carol", "movie");
    EXPECT_EQ(ask(client, "/w carol ping", 1).value(1),
              "1019 ERROR \"carol is refusing messages (movie)\"");
    EXPECT_TRUE(client.silentFor(50));
}

TEST_F(SimCommands, ScriptedWhispersGoToLoggedOnClientsOnly) {
    SimClient loggingIn;
    ASSERT_TRUE(loggingIn.connectTo(sim->port()));
    loggingIn.send("c");
    SimClient erin;
    ASSERT_TRUE(erin.connectTo(sim->port()));
    ASSERT_EQ(erin.login("erin", "pw"), "erin");

    sim->whisperToAll("dave@northrend", "gg");
    const QByteArray expected = "1004 WHISPER dave@northrend 0000 \"gg\"";
    EXPECT_EQ(client.readLine(), expected);
    EXPECT_EQ(erin.readLine(), expected);
    EXPECT_TRUE(loggingIn.silentFor(50));

    sim->whisperTo("ERIN", "alice", "only you");
    EXPECT_EQ(erin.readLine(), QByteArray("1004 WHISPER alice 0000 \"only you\""));
    EXPECT_TRUE(client.silentFor(50));
}

TEST_F(SimCommands, StatsGiveRecordLinesThatStayTheSame) {
    const QList<QByteArray> war3 = ask(client, "/stats alice war3", 5);
    ASSERT_EQ(war3.size(), 6);
    EXPECT_EQ(war3[0], "/stats alice war3");
    EXPECT_EQ(war3[1], "1018 INFO \"alice's record:\"");
    EXPECT_TRUE(war3[2].contains("III:"));
    for (const QByteArray& line : war3.mid(1)) {
        EXPECT_TRUE(line.startsWith("1018 INFO \"") && line.endsWith('"')) << line.constData();
    }
    EXPECT_TRUE(client.silentFor(50));
    EXPECT_EQ(ask(client, "/stats ALICE war3", 5).mid(2), war3.mid(2)) << "deterministic";

    const QList<QByteArray> star = ask(client, "/stats bob star", 3);
    EXPECT_EQ(star.value(1), "1018 INFO \"bob's record:\"");
    EXPECT_TRUE(star.value(2).startsWith("1018 INFO \"Normal games: "));
    EXPECT_TRUE(star.value(3).startsWith("1018 INFO \"Ladder games: "));
    EXPECT_NE(star.mid(2), ask(client, "/stats bob sexp", 3).mid(2)) << "each game its record";
    EXPECT_EQ(ask(client, "/stats bob w2bn", 4).size(), 5) << "with the IronMan ladder";
}

TEST_F(SimCommands, UnknownCommandsAreRefusedAndChatTextIsNotAnswered) {
    EXPECT_EQ(ask(client, "/frobnicate now", 1).value(1),
              "1019 ERROR \"That is not a valid command. Type /help or /? for more info.\"");
    client.send("hello everybody");
    client.send("");
    EXPECT_TRUE(client.silentFor(100));
    EXPECT_EQ(sim->receivedLines().mid(3),
              (QList<QByteArray>{"/frobnicate now", "hello everybody", ""}));
}

}  // namespace
}  // namespace gatewaysim::test
