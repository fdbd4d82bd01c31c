// The main window beside its tray icon: a click shows or hides it, closing hides it only
// while there is an icon (also one whose tray appeared after the start), and the first
// such close says so once from the icon.
#include <gtest/gtest.h>

#include <QFile>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "settings/SettingsFile.h"
#include "support/EventLoop.h"
#include "ui/MainForm.h"
#include "ui/TrayHint.h"
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
              sounds, [] { return false; }, 10000ms, [this] { return trayThere; }, 10ms),
          form(session, tray, iniPath),
          hint(
              form,
              [this](const QString& text) {
                  const bool shown = tray.showMessage(text);
                  notices += shown ? 1 : 0;
                  return shown;
              },
              iniPath, readTrayHintShown(IniFile(iniPath))) {}

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
    int notices = 0;
    SilentSounds sounds;
    Session session;
    TrayNotifier tray;
    MainForm form;
    TrayHint hint;
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
    std::optional<const char*> ini;  // Tesk.ini before the start; none on a first run
    bool hides;
    int notices;
};

void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.name;
}

class ClosingMainWindow : public ::testing::TestWithParam<CloseCase> {};

}  // namespace

TEST_P(ClosingMainWindow, HidesOnlyWithATrayAndSaysSoOnce) {
    const CloseCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    if (c.ini) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*c.ini);
    }
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
    if (c.hides) {
        // Remembered at once, unless there is no Tesk.ini yet to remember it in.
        EXPECT_EQ(readTrayHintShown(IniFile(path)), c.ini.has_value());
        EXPECT_EQ(QFile::exists(path), c.ini.has_value());
        // Neither a second close nor the exit says anything.
        t.form.show();
        t.form.close();
        t.form.exitProgram();
    }
    t.hint.saveAtExit();
    EXPECT_EQ(t.notices, c.notices);
    EXPECT_EQ(readTrayHintShown(IniFile(path)), c.hides);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClosingMainWindow,
    ::testing::Values(
        CloseCase{"TrayFromTheStart", true, false, "[Settings]\r\nSounds=0\r\n", true, 1},
        CloseCase{"TrayAppearingLater", false, true, "[Settings]\r\nSounds=0\r\n", true, 1},
        CloseCase{"NoTrayExits", false, false, "[Settings]\r\nSounds=0\r\n", false, 0},
        CloseCase{"ToldOnAnEarlierRun", true, false, "[Settings]\r\nTrayHintShown=1\r\n", true, 0},
        CloseCase{"FirstRunWithoutTeskIni", true, false, std::nullopt, true, 1}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });
