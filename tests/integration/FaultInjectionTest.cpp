#include "GatewayFixture.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "connection/Connection.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;

namespace tesk::test {

namespace {

// Resident memory of this process in kB.
long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

}  // namespace

TEST_F(GatewayFixture, JunkAndBrokenLinesOfEveryKindAreSurvived) {
    ASSERT_TRUE(startWatchingAlice());
    const std::size_t logged = handlers.log.size();
    QByteArray junk;
    junk += '\0';
    junk += "\x01\xff\xfe junk\r\n";
    junk += "/whois\r\n1018 INFO\r\n1019 ERROR \"\r\n";                  // short replies
    junk += "1004 WHISPER\r\n1004 WHISPER x\r\n1010 WHISPER a b \"\r\n";  // short whispers
    junk += "1018 INFO \"\xc3\x28 bad utf-8 ";
    junk += '\0';
    junk += " nul\"\r\n";
    junk += "/stats\r\n1018 INFO \"record: x\"\r\n1019 ERROR x\r\n";
    junk += "1018 INFO \"" + QByteArray(300 * 1000, 'x') + "\"\r\n";     // 300 kB in one line
    sim->sendRawToAll(junk);
    ASSERT_TRUE(waitUntil([&] { return handlers.log.size() >= logged + 12; }))
        << handlers.log.size() - logged << " new lines";
    EXPECT_EQ(handlers.log.back().size(), 300u * 1000 + 12);
    // Still working: the next command gets its answer.
    client->queue().putFront("/whois alice", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return handlers.userReplies.size() >= 2; }));
}

TEST_F(GatewayFixture, EndlessLineWithoutALineEndKeepsMemoryBounded) {
    startSim();
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    const long before = residentKb();
    const QByteArray chunk(1 << 20, 'z');
    for (int i = 0; i < 64; ++i) {  // 64 MiB that never end a line
        sim->sendRawToAll(chunk);
    }
    processEventsFor(500);
    sim->sendRawToAll("\r\n2000 NULL\r\n");
    ASSERT_TRUE(waitUntil([&] { return !handlers.log.empty() && handlers.log.back() == "2000 NULL"; },
                          15000));
    EXPECT_LT(residentKb() - before, 32 * 1024) << "kB grown";
    // The endless line arrives cut to the cap.
    EXPECT_EQ(handlers.log[handlers.log.size() - 2].size(), 1024u * 1024);
}

TEST_F(GatewayFixture, ConnectionClosedInTheMiddleOfALineIsReplacedByTheReplyTimer) {
    startSim();
    ConnectionTimings timings = fast();
    timings.replyTimeout = 500ms;
    startClient(anonymous(), timings);  // nobody watched: nothing else is on the wire
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    processEventsFor(200);
    sim->sendRawToAll("1018 INFO \"half a li");
    processEventsFor(300);  // let the half line leave before the connection is cut
    sim->dropAllConnections();
    // The half line arrives as it is; the next command finds the connection dead.
    ASSERT_TRUE(waitUntil([&] {
        return std::find(handlers.log.begin(), handlers.log.end(), "1018 INFO \"half a li") !=
               handlers.log.end();
    }));
    client->queue().putFront("/whois alice", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }, 5000));
    EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));
}

TEST_F(GatewayFixture, RefusalDuringAPollingCycleStopsEverything) {
    startSim();
    view.names = {"a", "b", "c", "d"};
    startClient();
    ASSERT_TRUE(waitForReceived(3));
    sim->sendRawToAll("Connection from [127.0.0.1] refused\r\n");
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(300);
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_EQ(view.errors.size(), 1u);
    const std::size_t sent = received().size();
    processEventsFor(300);
    EXPECT_EQ(received().size(), sent);  // nothing more goes out
}

TEST_F(GatewayFixture, LoginFailureDuringAPollingCycleStopsEverything) {
    startSim();
    view.names = {"a", "b", "c"};
    startClient();
    ASSERT_TRUE(waitForReceived(3));
    sim->sendRawToAll("Login incorrect\r\n");
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    EXPECT_EQ(view.errors, (std::vector<std::string>{protocol::kLoginIncorrectMessage}));
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_EQ(client->connection().status(), ConnectionStatus::Offline);
}

TEST_F(GatewayFixture, FloodingDuringAWhisperSendsTheWhisperAgain) {
    gatewaysim::Options options;
    options.floodLines = 1;
    options.floodWindowMs = 60000;
    startSim(options);
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    client->queue().putFront("/w Guest#1001 first", mark::kProgram);
    client->queue().putFront("/w Guest#1001 second", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }, 5000));
    // The whisper the gateway was answering when it cut the connection goes out again.
    const std::vector<std::string> first = received(1);
    const std::string flooded = first.back();
    ASSERT_EQ(flooded.rfind("/w Guest#1001 ", 0), 0u) << flooded;
    ASSERT_TRUE(waitUntil([&] {
        const auto lines = received(2);
        return std::find(lines.begin(), lines.end(), flooded) != lines.end();
    }));
}

TEST_F(GatewayFixture, SimulatorKilledAndRestartedIsFoundAgainWithForcedReconnect) {
    startSim();
    const quint16 port = sim->port();
    view.names = {"alice"};
    SettingsValues values = anonymous();
    values.force = true;
    ConnectionTimings timings = fast();
    timings.replyTimeout = 400ms;
    timings.pollInterval = 200ms;
    startClient(values, timings);
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    sim->stop();
    processEventsFor(1000);  // the reply timer notices; connects fail and are retried
    EXPECT_NE(client->connection().status(), ConnectionStatus::Online);

    gatewaysim::Options again;
    again.port = port;
    gatewaysim::SimThread restarted(again);
    ASSERT_TRUE(restarted.start()) << restarted.errorString().toStdString();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online, 10000));
    ASSERT_TRUE(waitUntil([&] { return restarted.receivedLines().contains("/whois alice"); }));
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(view.names, (std::vector<std::string>{"alice"}));  // the watch list is intact
    client.reset();
    restarted.stop();
}

}  // namespace tesk::test
