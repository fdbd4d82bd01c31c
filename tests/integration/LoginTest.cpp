#include "GatewayFixture.h"

#include <regex>

#include "connection/Connection.h"
#include "support/EventLoop.h"
#include "support/LoopbackListener.h"

#include <QTimer>
#include <thread>

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

namespace tesk::test {



TEST_F(GatewayFixture, AnonymousLoginSendsTwoLinesThenPollsInListOrder) {
    startSim();
    view.names = {"alpha", "beta"};
    startClient();
    ASSERT_TRUE(waitForReceived(4));
    EXPECT_EQ(received(), (Lines{"c", "anonymous", "/whois alpha", "/whois beta"}));
    const auto lines = sim->received();
    EXPECT_LT(lines[1].ms - lines[0].ms, 50);  // login lines go back to back
    EXPECT_EQ(client->connection().status(), ConnectionStatus::Online);
    ASSERT_GE(view.statuses.size(), 2u);
    EXPECT_EQ(view.statuses[0], "Connecting...");
    EXPECT_EQ(view.statuses[1], "Online");  // Offline is never shown while connecting
}

TEST_F(GatewayFixture, NamedLoginJoinsTheChannelBeforeTheFirstPoll) {
    gatewaysim::Options options;
    options.accounts.insert("tesk", "secret");
    startSim(options);
    view.names = {"alpha"};
    startClient(named("tesk", "secret"));
    ASSERT_TRUE(waitForReceived(5));
    const Lines lines = received();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3), (Lines{"c", "tesk", "secret"}));
    std::smatch number;
    ASSERT_TRUE(std::regex_match(lines[3], number, std::regex("/join public chat tesk([0-9]+)")))
        << lines[3];
    EXPECT_LE(std::stoi(number[1]), 32767);
    EXPECT_EQ(lines[4], "/whois alpha");
}

TEST_F(GatewayFixture, NothingIsSentBeforeTheLoginIsConfirmed) {
    gatewaysim::Options options;
    options.silent = true;  // never confirms
    startSim(options);
    view.names = {"alpha", "beta"};
    startClient();
    ASSERT_TRUE(waitForReceived(2));
    processEventsFor(400);
    EXPECT_EQ(received(), (Lines{"c", "anonymous"}));
    EXPECT_EQ(client->queue().size(), 3u);  // two whois and the control marker wait
    EXPECT_EQ(client->connection().status(), ConnectionStatus::Offline);
    EXPECT_EQ(view.statuses.back(), "Connecting...");
}

TEST_F(GatewayFixture, RefusedConnectionStaysClosedWithOneMessage) {
    gatewaysim::Options options;
    options.refuse = true;
    startSim(options);
    view.names = {"alpha"};
    startClient();
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(300);
    EXPECT_EQ(view.errors, (Lines{protocol::kRefusedMessage}));
    EXPECT_EQ(sim->connectionCount(), 1);
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_GE(view.resets, 1);
    EXPECT_FALSE(client->connection().client().connected());
    EXPECT_EQ(view.statuses.back(), "Offline");
}

TEST_F(GatewayFixture, WrongPasswordStaysClosedWithOneMessage) {
    gatewaysim::Options options;
    options.accounts.insert("tesk", "secret");
    startSim(options);
    view.names = {"alpha"};
    startClient(named("tesk", "wrong"));
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(300);
    EXPECT_EQ(view.errors, (Lines{protocol::kLoginIncorrectMessage}));
    EXPECT_EQ(sim->connectionCount(), 1);
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_EQ(client->connection().status(), ConnectionStatus::Offline);
}

TEST_F(GatewayFixture, FailedConnectReportsOnceAndResetsEverything) {
    startSim();
    const auto port = sim->port();
    sim->stop();  // nobody listens there any more
    view.names = {"alpha"};
    ConnectionTimings timings = fast();
    timings.port = port;
    sim.reset();
    startClient(anonymous(), timings);
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(200);
    EXPECT_EQ(view.errors, (Lines{protocol::cannotConnectMessage()}));
    EXPECT_EQ(view.resets, 1);
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_EQ(view.statuses.back(), "Offline");
}

TEST_F(GatewayFixture, ForcedReconnectRetriesSilentlyUntilGoOffline) {
    startSim();
    const auto port = sim->port();
    sim->stop();
    sim.reset();
    SettingsValues values = anonymous();
    values.force = true;
    ConnectionTimings timings = fast();
    timings.port = port;
    startClient(values, timings);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.size() > 20; }));
    client->connection().goOffline();
    processEventsFor(200);
    const auto shown = view.statuses.size();
    processEventsFor(200);
    EXPECT_EQ(view.statuses.size(), shown);  // the loop has stopped
    EXPECT_TRUE(view.errors.empty());
}

// A connect to a host that never answers must neither freeze the GUI thread nor run
// twice when asked again; goOffline cancels it without an error box.
TEST_F(GatewayFixture, HangingConnectKeepsTheGuiResponsiveAndMergesRequests) {
    SilentHost host;
    ConnectionTimings timings = fast();
    timings.port = host.port();
    startClient(anonymous(), timings);
    ASSERT_TRUE(waitUntil([&] { return !view.statuses.empty(); }));
    const bool connected = waitUntil([&] { return client->connection().client().connected(); }, 300);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    client->connection().connect();
    client->connection().connect();
    processEventsFor(300);
    ticker.stop();
    EXPECT_GE(ticks, 10);  // the GUI thread kept running
    if (!connected) {
        EXPECT_EQ(view.statuses, (Lines{"Connecting..."}));  // one attempt only
        client->connection().goOffline();
        processEventsFor(300);
        EXPECT_TRUE(view.errors.empty());
        EXPECT_EQ(view.statuses.back(), "Offline");
    }
}

}  // namespace tesk::test
