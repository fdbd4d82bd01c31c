// The main window beside its tray icon: a click shows or hides it, and closing hides it
// only while there is an icon (also one whose tray appeared after the start).
#include <gtest/gtest.h>

#include <QFile>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <ostream>
#include <string>

#include "platform/SoundPlayer.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "support/EventLoop.h"
#include "ui/MainForm.h"
#include "ui/TrayNotifier.h"
#include "ui/TrayWindowControl.h"
#include "watch/WatchListModel.h"

using namespace tesk;
using namespace std::chrono_literals;

namespace {

struct SilentSounds : SoundPlayer {
    void play(const QString&) override {}
};

// The objects that the program ties together, with a tray that is there while trayThere
// says so and a clock that moves only when told.
struct TrayWindow {
    explicit TrayWindow(const QString& iniPath)
        : tray(
              sounds, [] { return false; }, [] { return QString("Offline"); }, 10000ms,
              [this] { return trayThere; }, 10ms),
          form(list, settings, tray, iniPath) {}

    void start() {
        tray.show();
        control = std::make_unique<TrayWindowControl>(tray, form, [this] { return now; });
        form.setExitFlag(false);
    }
    void click(QSystemTrayIcon::ActivationReason reason = QSystemTrayIcon::Trigger) {
        emit tray.findChild<QSystemTrayIcon*>()->activated(reason);
    }

    bool trayThere = true;
    TrayClickRule::TimePoint now = TrayClickRule::TimePoint() + 1h;
    SilentSounds sounds;
    LiveSettings settings;
    WatchListModel list;
    TrayNotifier tray;
    MainForm form;
    std::unique_ptr<TrayWindowControl> control;
};

}  // namespace

TEST(TrayWindow, ClickBringsTheWindowBackAndHidesTheOneJustInUse) {
    QTemporaryDir dir;
    TrayWindow t(dir.filePath("Tesk.ini"));
    t.start();
    QWidget other;  // whatever covers the main window
    other.show();

    t.click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.form));
    t.click();
    EXPECT_FALSE(t.form.isVisible());

    // Covered for a while: raised, not hidden.
    t.click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.form));
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    t.now += 600ms;
    t.click();
    EXPECT_TRUE(t.form.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.form));

    // The click on the icon took the focus a moment ago: hidden.
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    t.now += 100ms;
    t.click();
    EXPECT_FALSE(t.form.isVisible());

    // A tray that reports the double click as well acts once; the right button only
    // opens the menu.
    t.click();
    t.click(QSystemTrayIcon::DoubleClick);
    t.click(QSystemTrayIcon::Context);
    EXPECT_TRUE(t.form.isVisible());
}

namespace {

struct CloseCase {
    const char* name;
    bool trayAtStart;
    bool trayLater;
    bool hides;
};

void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.name;
}

class ClosingMainWindow : public ::testing::TestWithParam<CloseCase> {};

}  // namespace

TEST_P(ClosingMainWindow, HidesOnlyWithATray) {
    const CloseCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    TrayWindow t(path);
    t.trayThere = c.trayAtStart;
    t.start();
    if (c.trayLater) {
        t.trayThere = true;
        ASSERT_TRUE(test::waitUntil([&] { return t.tray.hasIcon(); }, 3000));
    }

    t.form.show();
    t.form.close();
    EXPECT_FALSE(t.form.isVisible());
    EXPECT_EQ(!t.form.exitFlag(), c.hides);
    EXPECT_EQ(QFile::exists(path), !c.hides);  // only the exit saves
}

INSTANTIATE_TEST_SUITE_P(Table, ClosingMainWindow,
                         ::testing::Values(CloseCase{"TrayFromTheStart", true, false, true},
                                           CloseCase{"TrayAppearingLater", false, true, true},
                                           CloseCase{"NoTrayExits", false, false, false}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) {
                             return std::string(info.param.name);
                         });
