#include "SimClient.h"
#include "support/EventLoop.h"

#include <gtest/gtest.h>

namespace gatewaysim::test {
namespace {

TEST(SimLogin, AnonymousLoginAnswersOnlyAfterTheLoginLines) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));

    client.send("c");
    EXPECT_TRUE(client.silentFor(100)) << "nothing may come before the login is complete";
    client.send("anonymous");
    const QList<QByteArray> reply = client.readLines(2);
    ASSERT_EQ(reply.size(), 2);
    EXPECT_TRUE(reply[0].startsWith("2010 NAME Guest#"));
    EXPECT_GT(reply[0].size(), QByteArray("2010 NAME Guest#").size());
    EXPECT_EQ(reply[1], "1007 CHANNEL \"Chat\"");
    EXPECT_EQ(sim->receivedLines(), (QList<QByteArray>{"c", "anonymous"}));
}

TEST(SimLogin, CommandsBeforeTheLoginGetNoAnswer) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    client.send("/whois alice");
    client.send("c");
    EXPECT_TRUE(client.silentFor(100));
    EXPECT_FALSE(client.loginAnonymous().isEmpty());
}

TEST(SimLogin, ConfiguredAccountsCheckNameAnyCaseAndExactPassword) {
    Options options;
    options.accounts.insert("Alice", "Secret");
    auto sim = startSim(options);
    ASSERT_TRUE(sim);

    SimClient good;
    ASSERT_TRUE(good.connectTo(sim->port()));
    EXPECT_EQ(good.login("alice", "Secret"), "Alice") << "the account's own spelling is used";

    for (const auto& [name, password] :
         {std::pair<QByteArray, QByteArray>{"Alice", "secret"}, {"mallory", "Secret"}}) {
        SimClient bad;
        ASSERT_TRUE(bad.connectTo(sim->port()));
        bad.sendRaw("c\r\n" + name + "\r\n" + password + "\r\n");
        EXPECT_EQ(bad.readLine(), QByteArray("Login incorrect")) << name.constData();
        EXPECT_TRUE(bad.closedByPeer());
        EXPECT_FALSE(bad.readLine(50));
    }
    // Every login line is recorded byte for byte, in order of arrival.
    EXPECT_EQ(sim->receivedLines(1), (QList<QByteArray>{"c", "alice", "Secret"}));
    EXPECT_EQ(sim->receivedLines(2), (QList<QByteArray>{"c", "Alice", "secret"}));
    EXPECT_EQ(sim->receivedLines(3), (QList<QByteArray>{"c", "mallory", "Secret"}));
}

TEST(SimLogin, WithoutAccountsAnyNameIsAcceptedAndNamesStayUnique) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient first;
    SimClient second;
    ASSERT_TRUE(first.connectTo(sim->port()));
    ASSERT_TRUE(second.connectTo(sim->port()));
    EXPECT_EQ(first.login("bob", "anything"), "bob");
    EXPECT_EQ(second.login("BOB", "else"), "BOB#2");
}

TEST(SimLogin, AnonymousCanBeRefused) {
    Options options;
    options.anonymousAllowed = false;
    auto sim = startSim(options);
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    client.sendRaw("c\r\nanonymous\r\n");
    EXPECT_EQ(client.readLine(), QByteArray("Login incorrect"));
    EXPECT_TRUE(client.closedByPeer());
}

TEST(SimLogin, ConnectionsAreNumberedAndCounted) {
    auto sim = startSim();
    ASSERT_TRUE(sim);
    {
        SimClient first;
        SimClient second;
        ASSERT_TRUE(first.connectTo(sim->port()));
        ASSERT_TRUE(second.connectTo(sim->port()));
        const auto arrived = [&sim](int lines) {
            return tesk::test::waitUntil([&] { return sim->received().size() == lines; }, 2000);
        };
        second.send("c");
        ASSERT_TRUE(arrived(1));
        first.send("c");
        ASSERT_TRUE(arrived(2));
        second.send("anonymous");
        ASSERT_TRUE(second.readLine());
        ASSERT_EQ(sim->openConnections(), 2);
        const QVector<ReceivedLine> lines = sim->received();
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0].connection, 2);
        EXPECT_EQ(lines[1].connection, 1);
        EXPECT_EQ(lines[2].connection, 2);
        EXPECT_LE(lines[0].ms, lines[2].ms);
    }
    // Both clients have gone.
    EXPECT_TRUE(tesk::test::waitUntil([&] { return sim->openConnections() == 0; }, 2000));
    EXPECT_EQ(sim->connectionCount(), 2);
}

TEST(SimLogin, PortInUseFailsToStartWithAReason) {
    auto first = startSim();
    ASSERT_TRUE(first);
    Options options;
    options.port = first->port();
    SimThread second(options);
    EXPECT_FALSE(second.start());
    EXPECT_FALSE(second.errorString().isEmpty());
}

}  // namespace
}  // namespace gatewaysim::test
