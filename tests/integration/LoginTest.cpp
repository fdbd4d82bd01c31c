#include "GatewayFixture.h"

#include <regex>

#include "connection/Connection.h"
#include "connection/Protocol.h"
#include "support/EventLoop.h"
#include "support/LoopbackListener.h"

#include <unistd.h>
#include <QTimer>
#include <atomic>
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

// With "Force reconnect" a failed connect is tried again after a pause that doubles up
// to the longest, each attempt noted in the console, without a box; going offline
// cancels the retry that waits.
TEST_F(GatewayFixture, ForcedReconnectRetriesWithGrowingPausesUntilGoOffline) {
    startSim();
    const auto port = sim->port();
    sim->stop();
    sim.reset();
    SettingsValues values = anonymous();
    values.force = true;
    ConnectionTimings timings = fast();
    timings.port = port;
    timings.firstRetryPause = 40ms;
    timings.longestRetryPause = 160ms;
    startClient(values, timings);
    ASSERT_TRUE(waitUntil([&] { return view.notes.size() >= 5; }));
    EXPECT_EQ(view.notes[0], "Could not connect to 127.0.0.1; trying again in 0.04 s.");
    EXPECT_EQ(view.notes[1], "Could not connect to 127.0.0.1; trying again in 0.08 s.");
    EXPECT_EQ(view.notes[3], "Could not connect to 127.0.0.1; trying again in 0.16 s.");
    EXPECT_GE(view.noteTimes[4] - view.noteTimes[3], 150ms);
    EXPECT_EQ(view.statuses.back(), "Connecting...");  // while a retry waits
    client->connection().goOffline();
    processEventsFor(50);
    const auto noted = view.notes.size();
    processEventsFor(400);
    EXPECT_EQ(view.notes.size(), noted);  // the waiting retry was cancelled
    EXPECT_EQ(view.statuses.back(), "Offline");
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

// A server that takes the connection but never answers the login: the connect-failure
// box after the login timeout, or with "Force reconnect" a quiet retry.
TEST_F(GatewayFixture, AnUnansweredLoginEndsInTheBoxOrARetry) {
    for (const bool force : {false, true}) {
        SCOPED_TRACE(force ? "force" : "no force");
        startSim();
        sim->setSilent(true);
        SettingsValues values = anonymous();
        values.force = force;
        ConnectionTimings timings = fast();
        timings.loginTimeout = 200ms;
        startClient(values, timings);
        if (!force) {
            ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
            EXPECT_EQ(view.errors, (std::vector<std::string>{protocol::loginUnansweredMessage()}));
            EXPECT_EQ(view.statuses.back(), "Offline");
        } else {
            ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() >= 3; }));
            EXPECT_TRUE(view.errors.empty());
            EXPECT_EQ(view.notes.front(),
                      "The server did not answer the login. Trying again in 0.02 s.");
        }
        client.reset();
        sim.reset();
        view = {};
    }
}

// A server that closes the connection before "2010 NAME" without a line, as a PvPGN
// server does on the classic login: the box says so and points to the server types.
TEST_F(GatewayFixture, AServerClosingDuringLoginEndsInTheBoxOrARetry) {
    for (const bool force : {false, true}) {
        SCOPED_TRACE(force ? "force" : "no force");
        LoopbackListener closer;
        std::atomic<int> accepted{0};
        std::thread closing([&] {
            for (int i = 0; i < (force ? 3 : 1); ++i) {
                const int fd = closer.acceptOne();
                LoopbackListener::readBytes(fd, 3, 1000);  // "c" and the line end
                ::close(fd);
                ++accepted;
            }
        });
        SettingsValues values = anonymous();
        values.force = force;
        ConnectionTimings timings = fast();
        timings.port = closer.port();
        startClient(values, timings);
        if (!force) {
            ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
            EXPECT_EQ(view.errors,
                      (std::vector<std::string>{protocol::closedDuringLoginMessage(true)}));
        } else {
            ASSERT_TRUE(waitUntil([&] { return accepted == 3; }));
            EXPECT_TRUE(view.errors.empty());
            EXPECT_EQ(view.notes.front(),
                      "The server closed the connection during login. Trying again in 0.02 s.");
        }
        client.reset();
        closing.join();
        view = {};
    }
}

// A kick (the server closing the connection after the login) is heard at once: the
// client logs in again before it sends anything more on the old connection.
TEST_F(GatewayFixture, AKickIsNoticedAtOnceAndTheClientLogsInAgain) {
    ASSERT_TRUE(startWatchingAlice());
    const auto kicked = std::chrono::steady_clock::now();
    sim->dropAllConnections();
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }));
    ASSERT_TRUE(waitForReceived(2, 2));
    EXPECT_LT(std::chrono::steady_clock::now() - kicked, 500ms);
    EXPECT_EQ(received(2)[0], "c");
    EXPECT_EQ(view.notes, (std::vector<std::string>{"The server closed the connection."}));
    EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));
    EXPECT_TRUE(view.errors.empty());
}

}  // namespace tesk::test
