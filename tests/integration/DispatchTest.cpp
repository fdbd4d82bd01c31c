#include "GatewayFixture.h"

#include <algorithm>

#include "connection/Connection.h"
#include "connection/ServerLineReader.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

namespace tesk::test {

TEST_F(GatewayFixture, RepliesReachTheirHandlersWithTheCommandArgument) {
    startSim();
    sim->setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    sim->setAway("alice", "gone fishing");
    view.names = {"alice", "bob"};
    startClient();
    ASSERT_TRUE(waitUntil([&] { return handlers.userReplies.size() == 3; }));
    EXPECT_EQ(handlers.userReplies,
              (Lines{"alice <- 1018 INFO \"alice is using Starcraft in the channel Foo.\"",
                     "alice <- 1018 INFO \"alice is away (gone fishing)\"",
                     "bob <- 1019 ERROR \"That user is not logged on.\""}));

    client->queue().putFront("/stats alice star", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return handlers.statsReplies.size() >= 2; }));
    client->queue().putFront("/w alice hi there", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return !handlers.whispers.empty(); }));
    EXPECT_EQ(handlers.whispers[0], "to alice: hi there");
}

TEST_F(GatewayFixture, RefusedWhispersReachTheirHandlerOnceWithTheReason) {
    startSim();
    sim->setUserOnline("ivy", "Chat", gatewaysim::Place::channel("Foo"));
    sim->setDnd("ivy", "in a meeting");
    sim->setUserOnline("alice", "Chat", gatewaysim::Place::channel("Foo"));
    sim->setAway("alice", "lunch");
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    for (const char* command :
         {"/w carol hi", "/whois carol", "/w ivy are you there", "/w alice hello"}) {
        client->queue().putBack(command, mark::kProgram);
    }
    const std::string awayNotice = "1018 INFO \"alice is away (lunch)\"";
    ASSERT_TRUE(waitUntil([&] {
        return std::find(handlers.log.begin(), handlers.log.end(), awayNotice) !=
               handlers.log.end();
    }));
    // The console's whois and the away notice after a delivered whisper are no refusals.
    EXPECT_EQ(handlers.refusals,
              (Lines{"carol | hi | That user is not logged on.",
                     "ivy | are you there | ivy is refusing messages (in a meeting)"}));
    EXPECT_EQ(handlers.whispers, (Lines{"to alice: hello"}));
}

TEST_F(GatewayFixture, ModeNoticesMoveTheStatusAndGoOfflineRemembersTheMode) {
    startSim();
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    client->queue().putFront("/away", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.back() == "Away"; }));
    client->queue().putFront("/away", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.back() == "Online"; }));
    client->queue().putFront("/dnd", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.back() == "DND"; }));

    client->connection().goOffline();
    ASSERT_FALSE(client->queue().entries().empty());
    EXPECT_EQ(client->queue().entries().front().text, "/dnd");
    EXPECT_EQ(view.statuses.back(), "Offline");

    // Back online, the mode is set again before anything else is sent.
    const std::size_t before = received().size();
    client->connection().connect();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Dnd));
    EXPECT_EQ(received()[before + 2], "/dnd");
}

// A reconnect (a kick, flooding, a dead connection) sets the mode the server confirmed
// again, first thing after the login, and only once.
TEST_F(GatewayFixture, AReconnectSetsTheConfirmedModeAgain) {
    startSim();
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    const struct {
        const char* command;
        ConnectionStatus mode;
    } modes[] = {{"/away", ConnectionStatus::Away}, {"/dnd", ConnectionStatus::Dnd}};
    for (const auto& m : modes) {
        client->queue().putFront(m.command, mark::kProgram);
        ASSERT_TRUE(waitForStatus(m.mode)) << m.command;
        const int connection = sim->connectionCount() + 1;
        client->connection().reconnect();
        ASSERT_TRUE(waitForStatus(m.mode)) << m.command;
        const Lines lines = received(connection);
        ASSERT_GE(lines.size(), 3u) << m.command;
        EXPECT_EQ(lines[2], m.command);  // after the two login lines
        EXPECT_EQ(std::count(lines.begin(), lines.end(), m.command), 1) << m.command;
    }
}

TEST_F(GatewayFixture, RepeatedLinesAreDroppedAndLoginClearsTheLastCommand) {
    ASSERT_TRUE(startWatchingAlice());
    const std::size_t logged = handlers.log.size();
    sim->sendRawToAll(
        "/whois alice\r\n1018 INFO \"twice\"\r\n1018 INFO \"twice\"\r\n2010 NAME again\r\n"
        "1018 INFO \"after login\"\r\n");
    ASSERT_TRUE(waitUntil([&] { return handlers.log.size() == logged + 4; }));
    processEventsFor(100);
    EXPECT_EQ(Lines(handlers.log.begin() + logged, handlers.log.end()),
              (Lines{"/whois alice", "1018 INFO \"twice\"", "2010 NAME again",
                     "1018 INFO \"after login\""}));
    // "twice" still answered the whois; after the login nothing is taken as a reply.
    EXPECT_EQ(handlers.userReplies.size(), 2u);
}

// Lines that arrive in one piece are taken together: each reply still belongs to the
// echo just before it, in order, however many hand-overs the burst needs.
TEST_F(GatewayFixture, ABurstLargerThanOneHandOverIsHandledInOrder) {
    ASSERT_TRUE(startWatchingAlice());
    const std::size_t before = handlers.userReplies.size();
    const int replies = 3 * static_cast<int>(ServerLineReader::kMaxBurst);
    QByteArray burst;
    Lines expected;
    for (int i = 0; i < replies; ++i) {
        const std::string name = "user" + std::to_string(i);
        const std::string reply = "1018 INFO \"" + name + " is using X in the channel C.\"";
        burst += QByteArray::fromStdString("/whois " + name + "\r\n" + reply + "\r\n");
        expected.push_back(name + " <- " + reply);
    }
    sim->sendRawToAll(burst);
    ASSERT_TRUE(waitUntil([&] { return handlers.userReplies.size() >= before + replies; }));
    EXPECT_EQ(Lines(handlers.userReplies.begin() + before,
                    handlers.userReplies.begin() + before + replies),
              expected);
}

// A refusal in the middle of a burst ends the connection there: what came after it on
// that connection is neither logged nor applied.
TEST_F(GatewayFixture, LinesAfterARefusalInTheSameBurstAreNotHandled) {
    ASSERT_TRUE(startWatchingAlice());
    const std::size_t logged = handlers.log.size();
    sim->sendRawToAll(
        "/whois bob\r\n1018 INFO \"bob is here\"\r\n"
        "Connection from [127.0.0.1] refused\r\n"
        "/whois carol\r\n1018 INFO \"carol is here\"\r\n");
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(100);
    EXPECT_EQ(
        Lines(handlers.log.begin() + logged, handlers.log.end()),
        (Lines{"/whois bob", "1018 INFO \"bob is here\"", "Connection from [127.0.0.1] refused"}));
    EXPECT_EQ(handlers.userReplies.back(), "bob <- 1018 INFO \"bob is here\"");
}

}  // namespace tesk::test

namespace tesk::test {

// A new connection's login confirmation equal to the old connection's last line is
// still taken: repeats are dropped within one connection only.
TEST_F(GatewayFixture, LoginConfirmationIsNeverDroppedAsARepeatOfTheOldConnection) {
    gatewaysim::Options options;
    options.accounts.insert("tesk", "secret");
    startSim(options);
    startClient(named("tesk", "secret"));
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    // Once the echo of the channel join has come, the login line is no longer the last
    // one, and the same line again is taken as the connection's last line.
    ASSERT_TRUE(waitUntil([&] {
        return std::any_of(handlers.log.begin(), handlers.log.end(),
                           [](const std::string& line) { return line.rfind("/join ", 0) == 0; });
    }));
    sim->sendRawToAll("2010 NAME tesk\r\n");
    ASSERT_TRUE(waitUntil([&] { return handlers.log.back() == "2010 NAME tesk"; }));
    client->connection().reconnect();
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }));
    EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));
}

// Only a "/stats" that was sent has its replies taken as statistics: an echo the server
// makes up opens nothing, and the real request is still answered.
TEST_F(GatewayFixture, AMadeUpStatisticsEchoReachesNoHandler) {
    ASSERT_TRUE(startWatchingAlice());
    sim->sendRawToAll("/stats mallory war3\r\n1018 INFO \"mallory's record:\"\r\n");
    client->queue().putFront("/stats alice star", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return !handlers.statsReplies.empty(); }));
    processEventsFor(100);
    for (const std::string& reply : handlers.statsReplies) {
        EXPECT_EQ(reply.find("mallory"), std::string::npos) << reply;
    }
}

}  // namespace tesk::test
