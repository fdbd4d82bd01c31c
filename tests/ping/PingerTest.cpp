#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "FakeEcho.h"
#include "ping/Pinger.h"
#include "settings/LiveSettings.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;
using tesk::LiveSettings;
using tesk::Pinger;
using tesk::PingTimings;
using tesk::test::FakeEchoes;
using tesk::test::processEventsFor;
using tesk::test::waitUntil;

namespace {

const char* const kLookupMessage =
    "Could not find IP address for host.\nCheck if your Battle.net gateway is correct.";
const char* const kOpenMessage = "Unable to open ping service.\nPing will not work.";

bool onGuiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Waits without running the event loop, so that hand-overs to the GUI thread stay pending.
template <typename Done>
bool waitWithoutEvents(Done done, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(2ms);
    }
    return done();
}

std::chrono::milliseconds timeToDestroy(std::unique_ptr<Pinger>& ping) {
    const auto start = std::chrono::steady_clock::now();
    ping.reset();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

class PingThreadTest : public ::testing::Test {
protected:
    // No test here may reach the network: the gateway is always a dotted loopback address
    // or one with an empty label (which fails inside the resolver), and echoes go to the
    // fake service.
    PingThreadTest() { setGateway("127.0.0.1"); }

    void setGateway(const std::string& gateway) {
        auto values = settings.snapshot();
        values.gateway = gateway;
        settings.publish(values);
    }

    std::unique_ptr<Pinger> start(PingTimings timings = {1000ms, 20ms}) {
        return std::make_unique<Pinger>(
            settings,
            [this](const std::string& text) {
                displays.push_back(text);
                handedOver = handedOver && onGuiThread();
            },
            [this](const std::string& message) {
                errors.push_back(message);
                handedOver = handedOver && onGuiThread();
            },
            timings, echoes.opener());
    }

    LiveSettings settings;
    FakeEchoes echoes;
    std::vector<std::string> displays;  // written on the GUI thread, which is this one
    std::vector<std::string> errors;
    bool handedOver = true;  // every callback ran on the GUI thread
};

}  // namespace

TEST_F(PingThreadTest, SleepsWithoutEchoesWhileTheToolbarIsHidden) {
    auto ping = start();
    EXPECT_TRUE(ping->isAsleep());
    processEventsFor(150);
    EXPECT_TRUE(ping->isAsleep());
    EXPECT_EQ(echoes.opened(), 0);
    EXPECT_EQ(echoes.requestCount(), 0u);
    EXPECT_TRUE(displays.empty());
    EXPECT_EQ(ping->pingText(), "");

    ping->setToolbarVisible(false);  // hidden again: still nothing
    processEventsFor(50);
    EXPECT_TRUE(ping->isAsleep());
    EXPECT_EQ(echoes.requestCount(), 0u);
}

TEST_F(PingThreadTest, ShowingTheToolbarWakesItAndTheTimeIsDisplayedOnTheGuiThread) {
    auto ping = start({1234ms, 20ms});
    ping->setToolbarVisible(true);
    EXPECT_FALSE(ping->isAsleep());
    ASSERT_TRUE(waitUntil([&] { return !displays.empty(); }));
    EXPECT_EQ(displays.front(), "42ms");
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(ping->pingText().substr(0, 2), "42");

    const auto requests = echoes.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front().target, "127.0.0.1");
    EXPECT_EQ(requests.front().data, std::vector<std::uint8_t>(64, 0xAA));
    EXPECT_EQ(requests.front().timeout, 1234ms);
    EXPECT_EQ(echoes.opened(), static_cast<int>(requests.size()));  // one service per echo
}

TEST_F(PingThreadTest, MeasuresAgainAfterEachPauseAndShowsDotsWithoutAReply) {
    echoes.script({42ms, std::nullopt, 0ms, 1234ms}, 40ms);
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return displays.size() >= 5; }));
    EXPECT_EQ(std::vector<std::string>(displays.begin(), displays.begin() + 5),
              (std::vector<std::string>{"42ms", "...", "0ms", "1234ms", "40ms"}));
}

TEST_F(PingThreadTest, PausesBetweenMeasurements) {
    auto ping = start({1000ms, 400ms});
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return displays.size() == 1; }));
    processEventsFor(200);
    EXPECT_EQ(displays.size(), 1u);
    EXPECT_EQ(echoes.requestCount(), 1u);
    EXPECT_TRUE(waitUntil([&] { return displays.size() == 2; }));
}

TEST_F(PingThreadTest, HidingTheToolbarLetsItSleepAtTheNextStep) {
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return displays.size() >= 2; }));
    ping->setToolbarVisible(false);
    ASSERT_TRUE(waitUntil([&] { return ping->isAsleep(); }));
    const auto sent = echoes.requestCount();
    processEventsFor(150);
    EXPECT_EQ(echoes.requestCount(), sent);
    EXPECT_TRUE(ping->isAsleep());

    ping->setToolbarVisible(true);
    EXPECT_TRUE(waitUntil([&] { return echoes.requestCount() > sent + 1; }));
}

TEST_F(PingThreadTest, AMeasurementUnderWayWhenTheToolbarIsHiddenIsStillDisplayed) {
    echoes.hold(true);
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return echoes.requestCount() == 1; }));
    ping->setToolbarVisible(false);
    EXPECT_FALSE(ping->isAsleep());
    echoes.hold(false);
    ASSERT_TRUE(waitUntil([&] { return displays.size() == 1; }));
    EXPECT_EQ(displays.front(), "42ms");
    EXPECT_TRUE(waitUntil([&] { return ping->isAsleep(); }));
    processEventsFor(100);
    EXPECT_EQ(echoes.requestCount(), 1u);
    EXPECT_EQ(displays.size(), 1u);
}

TEST_F(PingThreadTest, HidingAndShowingDuringAMeasurementKeepsItRunning) {
    echoes.hold(true);
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return echoes.requestCount() == 1; }));
    ping->setToolbarVisible(false);
    ping->setToolbarVisible(true);
    echoes.hold(false);
    EXPECT_TRUE(waitUntil([&] { return displays.size() >= 3; }));
    EXPECT_FALSE(ping->isAsleep());
}

TEST_F(PingThreadTest, AnEchoWithoutReplyWaitsItsTimeoutAndShowsDots) {
    echoes.hold(true);  // never released: every echo runs into its timeout
    auto ping = start({150ms, 20ms});
    ping->setToolbarVisible(true);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitUntil([&] { return !displays.empty(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
    EXPECT_EQ(displays.front(), "...");
    EXPECT_EQ(ping->pingText(), "...");
}

TEST_F(PingThreadTest, ReadsTheGatewayAnewForEachMeasurement) {
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return !displays.empty(); }));
    setGateway("127.0.0.2");
    ASSERT_TRUE(waitUntil([&] { return echoes.requests().back().target == "127.0.0.2"; }));
    EXPECT_EQ(echoes.requests().front().target, "127.0.0.1");
}

TEST_F(PingThreadTest, AGatewayThatCannotBeLookedUpIsReportedOncePerShowing) {
    setGateway("bad..name");  // fails inside the resolver, without asking any name server
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 1; }));
    EXPECT_EQ(errors.front(), kLookupMessage);
    EXPECT_TRUE(handedOver);
    EXPECT_TRUE(waitUntil([&] { return ping->isAsleep(); }));
    EXPECT_EQ(ping->pingText(), "...");
    EXPECT_EQ(echoes.requestCount(), 0u);
    EXPECT_EQ(displays, (std::vector<std::string>{"..."}));  // no figure stays after an error

    processEventsFor(150);
    ping->setToolbarVisible(true);  // shown again without being hidden: no new report
    processEventsFor(150);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(ping->isAsleep());

    ping->setToolbarVisible(false);
    processEventsFor(50);
    EXPECT_EQ(errors.size(), 1u);
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 2; }));
    processEventsFor(150);
    EXPECT_EQ(errors.size(), 2u);
}

// Without a gateway there is nothing to measure: dots, and no box beside the connection's.
TEST_F(PingThreadTest, WithoutAGatewayItShowsDotsAndReportsNothing) {
    setGateway("");
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return !displays.empty(); }));
    processEventsFor(100);
    EXPECT_EQ(displays.front(), "...");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(echoes.requestCount(), 0u);
}

TEST_F(PingThreadTest, AnErrorShowsDotsInsteadOfTheLastFigure) {
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return !displays.empty(); }));
    setGateway("bad..name");
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return ping->isAsleep(); }));
    const auto shown = displays.size();
    EXPECT_EQ(ping->pingText(), "...");
    EXPECT_EQ(displays.back(), "...");
    processEventsFor(100);
    EXPECT_EQ(displays.size(), shown);

    setGateway("127.0.0.1");  // fixed: the next showing measures again
    ping->setToolbarVisible(false);
    ping->setToolbarVisible(true);
    EXPECT_TRUE(waitUntil([&] { return displays.size() > shown; }));
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(PingThreadTest, AServiceThatCannotBeOpenedIsReportedOncePerShowing) {
    echoes.setCanOpen(false);
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 1; }));
    EXPECT_EQ(errors.front(), kOpenMessage);
    EXPECT_TRUE(waitUntil([&] { return ping->isAsleep(); }));
    EXPECT_EQ(ping->pingText(), "...");
    processEventsFor(150);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(displays, (std::vector<std::string>{"..."}));

    ping->setToolbarVisible(false);
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 2; }));

    echoes.setCanOpen(true);
    ping->setToolbarVisible(false);
    ping->setToolbarVisible(true);
    EXPECT_TRUE(waitUntil([&] { return !displays.empty(); }));
    EXPECT_EQ(errors.size(), 2u);
}

TEST_F(PingThreadTest, TheServiceIsOpenedBeforeTheGatewayIsLookedUp) {
    echoes.setCanOpen(false);
    setGateway("bad..name");
    auto ping = start();
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 1; }));
    EXPECT_EQ(errors.front(), kOpenMessage);
}

TEST_F(PingThreadTest, StopsAtOnceWhileAsleep) {
    auto ping = start({10s, 10s});
    processEventsFor(20);
    EXPECT_LT(timeToDestroy(ping), 500ms);
}

TEST_F(PingThreadTest, StopsAtOnceDuringAnEcho) {
    echoes.hold(true);
    auto ping = start({10s, 10s});
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return echoes.requestCount() == 1; }));
    EXPECT_LT(timeToDestroy(ping), 500ms);
}

TEST_F(PingThreadTest, StopsAtOnceDuringThePause) {
    auto ping = start({10s, 10s});
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitUntil([&] { return displays.size() == 1; }));
    EXPECT_LT(timeToDestroy(ping), 500ms);
}

TEST_F(PingThreadTest, StopsAtOnceWhileTheGuiThreadHasNotTakenTheDisplay) {
    auto ping = start({10s, 10s});
    ping->setToolbarVisible(true);
    ASSERT_TRUE(waitWithoutEvents([&] { return echoes.requestCount() == 1; }));
    std::this_thread::sleep_for(50ms);  // the hand-over is now waiting for this thread
    EXPECT_LT(timeToDestroy(ping), 500ms);
    processEventsFor(50);
    EXPECT_TRUE(displays.empty());  // abandoned, never run after the stop
}

TEST_F(PingThreadTest, StopsAtOnceWhileAnErrorReportIsPending) {
    echoes.setCanOpen(false);
    auto ping = start({10s, 10s});
    ping->setToolbarVisible(true);
    std::this_thread::sleep_for(100ms);  // the report now waits for this thread
    EXPECT_LT(timeToDestroy(ping), 500ms);
    processEventsFor(50);
    EXPECT_TRUE(errors.empty());
}
