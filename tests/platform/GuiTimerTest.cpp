#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/GuiThread.h"
#include "platform/GuiTimer.h"
#include "platform/StopFlag.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;
using tesk::GuiTimer;
using tesk::test::processEventsFor;
using tesk::test::waitUntil;

TEST(GuiTimer, ArmingAnArmedTimerDoesNotRestartIt) {
    int ticks = 0;
    QElapsedTimer clock;
    qint64 firedAt = 0;
    GuiTimer timer(200ms, [&] {
        ++ticks;
        firedAt = clock.elapsed();
    });
    clock.start();
    timer.arm();
    processEventsFor(120);
    timer.arm();  // must not push the tick out to 320 ms
    ASSERT_TRUE(waitUntil([&] { return ticks == 1; }, 2000));
    EXPECT_LT(firedAt, 300);
    EXPECT_FALSE(timer.isArmed());
    processEventsFor(300);
    EXPECT_EQ(ticks, 1);  // one-shot
}

TEST(GuiTimer, ArmAndDisarmFromAWorkerThread) {
    int ticks = 0;
    GuiTimer timer(50ms, [&] { ++ticks; });
    std::thread([&] { timer.arm(); }).join();
    EXPECT_TRUE(timer.isArmed());
    ASSERT_TRUE(waitUntil([&] { return ticks == 1; }, 2000));

    std::thread([&] {
        timer.arm();
        timer.disarm();
    }).join();
    EXPECT_FALSE(timer.isArmed());
    processEventsFor(150);
    EXPECT_EQ(ticks, 1);  // the older arm on its way must not revive the timer
}

TEST(GuiTimer, ATimerGoneBeforeAnArmFromAWorkerArrivesIsLeftAlone) {
    int ticks = 0;
    auto timer = std::make_unique<GuiTimer>(10ms, [&] { ++ticks; });
    std::thread([&] { timer->arm(); }).join();  // the start is still queued for the GUI thread
    timer.reset();
    processEventsFor(50);  // a start reaching a deleted timer would be a use after free
    EXPECT_EQ(ticks, 0);
}

TEST(GuiThreadHandOver, RunsOnTheGuiThreadAndWaits) {
    bool ranOnGui = false;
    std::atomic<bool> returned{false};
    auto stop = std::make_shared<tesk::StopFlag>();
    std::thread worker([&] {
        returned =
            tesk::gui_thread::runAndWait([&] { ranOnGui = tesk::gui_thread::isCurrent(); }, stop);
    });
    ASSERT_TRUE(waitUntil([&] { return returned.load(); }, 2000));
    worker.join();
    EXPECT_TRUE(ranOnGui);
}

TEST(GuiThreadHandOver, OnTheGuiThreadItRunsAtOnce) {
    bool ran = false;
    EXPECT_TRUE(
        tesk::gui_thread::runAndWait([&] { ran = true; }, std::make_shared<tesk::StopFlag>()));
    EXPECT_TRUE(ran);
}

TEST(GuiThreadHandOver, PostedProceduresRunInOrderAlsoDuringANestedEventLoop) {
    std::vector<int> ran;
    std::thread([&] {
        tesk::gui_thread::post([&] {
            ran.push_back(1);
            processEventsFor(20);  // as a dialog would: the next ones run in here
            ran.push_back(4);
        });
        tesk::gui_thread::post([&] { ran.push_back(2); });
        tesk::gui_thread::post([&] { ran.push_back(3); });
    }).join();
    ASSERT_TRUE(waitUntil([&] { return ran.size() == 4; }, 2000));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
}

TEST(GuiThreadHandOver, StopEndsTheWaitAndTheProcedureNeverRuns) {
    auto stop = std::make_shared<tesk::StopFlag>();
    auto ran = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> result{true};
    std::thread worker(
        [&] { result = tesk::gui_thread::runAndWait([ran] { *ran = true; }, stop); });
    std::this_thread::sleep_for(50ms);  // the GUI thread is not pumping: the call waits
    stop->raise();
    worker.join();
    EXPECT_FALSE(result);
    processEventsFor(50);
    EXPECT_FALSE(*ran);
}
