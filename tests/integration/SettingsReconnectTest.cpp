#include "GatewayFixture.h"

#include "connection/Connection.h"
#include "support/EventLoop.h"

namespace tesk::test {

// Saved settings while connected: the connection starts again against the new gateway.
TEST_F(GatewayFixture, ChangedGatewayWhileOnlineReconnectsThere) {
    startSim();
    gatewaysim::Options other;
    other.address = QHostAddress("127.0.0.2");
    other.port = sim->port();
    gatewaysim::SimThread second(other);
    if (!second.start()) {
        GTEST_SKIP() << "127.0.0.2 is not usable here: " << second.errorString().toStdString();
    }
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));

    SettingsValues moved = settings.snapshot();
    moved.gateway = "127.0.0.2";
    settings.publish(moved);
    client->connection().reconnectIfOnline();
    ASSERT_TRUE(waitUntil([&] { return second.receivedLines().size() >= 2; }));
    EXPECT_EQ(second.receivedLines().mid(0, 2), (QList<QByteArray>{"c", "anonymous"}));
    EXPECT_EQ(sim->connectionCount(), 1);
    // The new gateway greets with the same line the old one did; it still counts.
    EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));
    second.stop();
}

TEST_F(GatewayFixture, SavedSettingsWhileOfflineDoNotConnect) {
    startSim();
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    client->connection().goOffline();
    client->connection().reconnectIfOnline();
    processEventsFor(300);
    EXPECT_EQ(sim->connectionCount(), 1);
    EXPECT_EQ(client->connection().status(), ConnectionStatus::Offline);
}

}  // namespace tesk::test
