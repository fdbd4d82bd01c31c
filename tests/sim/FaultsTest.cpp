#include "SimClient.h"
#include "support/EventLoop.h"

#include <gtest/gtest.h>
#include <QThread>

namespace gatewaysim::test {
namespace {

TEST(SimFaults, FloodingEchoesTheLineTooManyThenDisconnects) {
    Options options;
    options.floodLines = 3;
    options.floodWindowMs = 10'000;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_FALSE(client.loginAnonymous().isEmpty()) << "the login lines do not count";

    for (const QByteArray command : {"/whois a", "/whois b", "/whois c"}) {
        client.send(command);
        EXPECT_EQ(client.readLines(2).value(0), command);
    }
    client.send("/whois d");
    EXPECT_EQ(client.readLines(2),
              (QList<QByteArray>{"/whois d", "You have been disconnected for flooding."}));
    EXPECT_TRUE(client.closedByPeer());
}

TEST(SimFaults, FloodWindowSlidesAndTheLimitCanChange) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_FALSE(client.loginAnonymous().isEmpty());
    sim->setFloodLimit(1, 150);

    client.send("/away");
    ASSERT_EQ(client.readLines(2).size(), 2);
    QThread::msleep(200);
    client.send("/away");
    EXPECT_EQ(client.readLines(2).value(1), "1018 INFO \"You are no longer marked as away.\"")
        << "the first line has left the window";
    client.send("/away");
    EXPECT_EQ(client.readLines(2).value(1), "You have been disconnected for flooding.");
    EXPECT_TRUE(client.closedByPeer());
}

TEST(SimFaults, RefusalModeRefusesEveryConnectionUntilSwitchedOff) {
    Options options;
    options.refuse = true;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient refused;
    ASSERT_TRUE(refused.connectTo(sim->port()));
    const std::optional<QByteArray> line = refused.readLine();
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->contains("] refused")) << line->constData();
    EXPECT_TRUE(refused.closedByPeer());

    sim->setRefuse(false);
    SimClient welcome;
    ASSERT_TRUE(welcome.connectTo(sim->port()));
    EXPECT_FALSE(welcome.loginAnonymous().isEmpty());
}

TEST(SimFaults, SilentModeRecordsEverythingAndAnswersNothing) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_FALSE(client.loginAnonymous().isEmpty());
    sim->setUserOnline("alice", "Starcraft", Place::game("Bar"));

    sim->setSilent(true);
    client.send("/away");
    ASSERT_TRUE(tesk::test::waitUntil([&] { return sim->receivedLines().size() == 3; }, 2000));
    sim->whisperToAll("alice", "lost in the void");
    SimClient late;
    ASSERT_TRUE(late.connectTo(sim->port()));
    late.sendRaw("c\r\nanonymous\r\n");
    EXPECT_TRUE(client.silentFor(150));
    EXPECT_TRUE(late.silentFor(10));
    EXPECT_TRUE(tesk::test::waitUntil([&] { return sim->receivedLines().size() == 5; }, 2000));
    EXPECT_EQ(sim->receivedLines().mid(2), (QList<QByteArray>{"/away", "c", "anonymous"}));

    sim->setSilent(false);
    client.send("/away");
    EXPECT_EQ(client.readLines(2).value(1), "1018 INFO \"You are now marked as being away.\"")
        << "the silent /away changed nothing";
    client.send("/whois alice");
    EXPECT_EQ(client.readLines(2).value(1), "1018 INFO \"alice is using Starcraft in game Bar.\"");
    late.send("/whois alice");
    EXPECT_TRUE(late.silentFor(100)) << "its silent login never happened";
}

TEST(SimFaults, DropAllConnectionsClosesEveryClient) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient first;
    SimClient second;
    ASSERT_TRUE(first.connectTo(sim->port()));
    ASSERT_TRUE(second.connectTo(sim->port()));
    ASSERT_FALSE(first.loginAnonymous().isEmpty());
    ASSERT_TRUE(tesk::test::waitUntil([&] { return sim->openConnections() == 2; }, 2000));

    sim->dropAllConnections();
    EXPECT_TRUE(first.closedByPeer());
    EXPECT_TRUE(second.closedByPeer());
    EXPECT_EQ(sim->openConnections(), 0);

    SimClient again;
    ASSERT_TRUE(again.connectTo(sim->port()));
    EXPECT_FALSE(again.loginAnonymous().isEmpty()) << "the server still listens";
    EXPECT_EQ(sim->connectionCount(), 3);
}

TEST(SimFaults, RawBytesArriveExactlyAsGiven) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_FALSE(client.loginAnonymous().isEmpty());

    const QByteArray junk("1018 INFO \"par\0\xff\r", 17);
    sim->sendRawToAll(junk);
    EXPECT_EQ(client.readRaw(junk.size()), junk);
    sim->sendRawToAll("tial\"\r\n");
    EXPECT_EQ(client.readRaw(7), QByteArray("tial\"\r\n"));
}

TEST(SimFaults, OverlongLineIsCutAndTheConnectionGoesOn) {
    Options options;
    options.maxLineBytes = 1000;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_FALSE(client.loginAnonymous().isEmpty());

    const QByteArray chunk(64 * 1024, 'x');
    for (int i = 0; i < 32; ++i) {
        client.sendRaw(chunk);  // 2 MiB without a line end
    }
    client.send("");
    client.send("/away");
    EXPECT_EQ(client.readLines(2).value(0), "/away");
    const QList<QByteArray> lines = sim->receivedLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2], QByteArray(1000, 'x'));
}

TEST(SimFaults, StoppedSimulatorKeepsItsRecordAndIgnoresCalls) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    client.send("c");
    ASSERT_TRUE(tesk::test::waitUntil([&] { return sim->receivedLines().size() == 1; }, 2000));

    sim->stop();
    EXPECT_TRUE(client.closedByPeer());
    sim->setUserOnline("alice", "Starcraft", Place::privateGame());
    sim->dropAllConnections();
    EXPECT_EQ(sim->receivedLines(), QList<QByteArray>{"c"});
    EXPECT_EQ(sim->openConnections(), 0);
    EXPECT_FALSE(sim->start());
}

}  // namespace
}  // namespace gatewaysim::test
