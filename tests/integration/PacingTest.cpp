#include "GatewayFixture.h"

#include <sys/resource.h>

#include <algorithm>

#include "connection/Connection.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

namespace tesk::test {

namespace {

// The simulator's receive times of the lines of one connection that begin with "/".
std::vector<qint64> commandTimes(const gatewaysim::SimThread& sim) {
    std::vector<qint64> times;
    for (const auto& line : sim.received()) {
        if (line.line.startsWith('/')) {
            times.push_back(line.ms);
        }
    }
    return times;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

TEST_F(GatewayFixture, OneLineEveryPauseAndPollingRestartsAfterTheInterval) {
    startSim();
    view.names = {"a", "b", "c"};
    ConnectionTimings timings = fast();
    timings.writerPause = 200ms;
    timings.pollInterval = 500ms;
    startClient(anonymous(), timings);
    ASSERT_TRUE(waitForReceived(2 + 6, 0, 8000));
    const Lines lines = received();
    EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 8),
              (Lines{"/whois a", "/whois b", "/whois c", "/whois a", "/whois b", "/whois c"}));
    const auto times = commandTimes(*sim);
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], 190) << "between command " << i - 1 << " and " << i;
    }
    // The next cycle starts a poll interval after the last line's pause has run out.
    EXPECT_GE(times[3] - times[2], 200 + 500 - 20);
}

TEST_F(GatewayFixture, EmptyWatchListStillKeepsThePollTimerGoing) {
    startSim();
    ConnectionTimings timings = fast();
    timings.pollInterval = 150ms;
    startClient(anonymous(), timings);
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    // Each cycle is the control marker alone: no line is sent, the timer is re-armed.
    ASSERT_TRUE(waitUntil([&] { return client->connection().pollTimer().isArmed(); }));
    view.names = {"late"};
    ASSERT_TRUE(waitForReceived(3, 0, 3000));
    EXPECT_EQ(received().back(), "/whois late");
}

TEST_F(GatewayFixture, SilentGatewayIsReplacedAfterTheReplyTimeoutOfTheFirstUnansweredLine) {
    startSim();
    view.names = {"a", "b", "c", "d", "e", "f"};
    ConnectionTimings timings = fast();
    timings.writerPause = 150ms;
    timings.replyTimeout = 500ms;
    startClient(anonymous(), timings);
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    sim->setSilent(true);
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }, 5000));
    sim->setSilent(false);
    ASSERT_TRUE(waitForReceived(2, 2));
    EXPECT_EQ(received(2)[0], "c");

    // The countdown started with the first line that got no answer (its echo never
    // reached the log) and was not restarted by the lines that followed it.
    const auto answered = [&](const QByteArray& line) {
        return std::find(handlers.log.begin(), handlers.log.end(), line.toStdString()) !=
               handlers.log.end();
    };
    qint64 firstUnanswered = -1;
    qint64 reconnected = -1;
    for (const auto& line : sim->received()) {
        if (line.connection == 1 && firstUnanswered < 0 && line.line.startsWith("/whois") &&
            !answered(line.line)) {
            firstUnanswered = line.ms;
        }
        if (line.connection == 2 && reconnected < 0) {
            reconnected = line.ms;
        }
    }
    ASSERT_GE(firstUnanswered, 0);
    EXPECT_GE(reconnected - firstUnanswered, 450);
    EXPECT_LT(reconnected - firstUnanswered, 900);
}

TEST_F(GatewayFixture, FloodingReconnectsAndSendsTheCommandAgain) {
    gatewaysim::Options options;
    options.floodLines = 2;
    options.floodWindowMs = 60000;
    startSim(options);
    view.names = {"a", "b", "c"};
    startClient();
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }, 5000));
    ASSERT_TRUE(waitForReceived(3, 2));
    EXPECT_EQ(received(2), (Lines{"c", "anonymous", "/whois c"}));
}

TEST_F(GatewayFixture, FloodingAfterAChatLineDoesNotSendTheChatLine) {
    startSim();
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    sim->sendRawToAll("1018 INFO \"hello\"\r\nYou have been disconnected for flooding.\r\n");
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }, 5000));
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    processEventsFor(300);
    for (const std::string& line : received(2)) {
        EXPECT_EQ(line.find("hello"), std::string::npos);
    }
}

// The server going away is heard at once; when it cannot be reached again, the reader
// stays idle.
TEST_F(GatewayFixture, ClosedConnectionLogsOneEmptyLineAndLeavesTheReaderIdle) {
    startSim();
    startClient();
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    processEventsFor(100);
    const std::size_t logged = handlers.log.size();
    sim->stop();
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    EXPECT_EQ(handlers.log.size(), logged + 1);
    EXPECT_EQ(handlers.log.back(), "");
    EXPECT_EQ(view.notes, (std::vector<std::string>{"The server closed the connection."}));
    const double before = cpuSeconds();
    processEventsFor(500);
    EXPECT_LT(cpuSeconds() - before, 0.1);
    EXPECT_EQ(handlers.log.size(), logged + 1);
}

}  // namespace tesk::test
