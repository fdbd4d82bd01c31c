#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>

#include "ping/Pinger.h"
#include "platform/IcmpEcho.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "support/EventLoop.h"
#include "ui/MainForm.h"
#include "ui/TrayNotifier.h"
#include "watch/WatchListModel.h"

using namespace std::chrono_literals;
using namespace tesk;

namespace {

struct NoSounds : SoundPlayer {
    void play(const QString&) override {}
};

// Answers every echo after 7 ms, without any network.
struct QuickEcho : EchoService {
    std::optional<std::chrono::milliseconds> echo(const in_addr&, const std::vector<std::uint8_t>&,
                                                  std::chrono::milliseconds,
                                                  const StopFlag&) override {
        return 7ms;
    }
};

QAction* showPingEntry(MainForm& form) {
    for (QMenu* menu : form.findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            if (action->text() == "Show Ping") {
                return action;
            }
        }
    }
    return nullptr;
}

}  // namespace

TEST(PingDisplay, ShowPingMeasuresAndHidingRestoresTheTip) {
    QTemporaryDir dir;
    NoSounds sounds;
    Session session;
    LiveSettings& settings = session.settings();
    SettingsValues values;
    values.gateway = "127.0.0.1";
    settings.publish(values);
    TrayNotifier tray(sounds, [] { return false; });
    auto form = std::make_unique<MainForm>(session, tray, dir.filePath("Tesk.ini"));
    Pinger ping(
        settings, [&form](const std::string& text) { form->showPing(text); },
        [](const std::string&) {}, PingTimings{100ms, 50ms},
        [] { return std::make_unique<QuickEcho>(); });
    form->attachPing(&ping);
    tray.showStatusTip();
    auto* label = form->findChild<QLabel*>("PingLabel");

    showPingEntry(*form)->trigger();
    ASSERT_TRUE(test::waitUntil([&] { return label->text() == "7ms"; }));
    test::processEventsFor(200);  // several measurements: the tip keeps one part
    EXPECT_EQ(tray.tip(), "TESK: Offline (7ms) ");

    showPingEntry(*form)->trigger();
    EXPECT_EQ(tray.tip(), "TESK: Offline");
    EXPECT_EQ(tray.image(), 2);
    EXPECT_EQ(label->text(), "...");
    // A measurement under way when the toolbar was hidden is still shown; then it sleeps.
    ASSERT_TRUE(test::waitUntil([&] { return ping.isAsleep(); }));
    const QString settled = label->text();
    test::processEventsFor(200);
    EXPECT_EQ(label->text(), settled);

    // A saved layout with the toolbar shown starts measuring again at start-up.
    IniFile ini(dir.filePath("Tesk.ini"));
    ini.writeInteger("Toolbar:PingToolbar", "Rev", 2000);
    ini.writeInteger("Toolbar:PingToolbar", "Visible", 1);
    ASSERT_TRUE(ini.flush());
    form->loadToolbarLayout(IniFile(dir.filePath("Tesk.ini")));
    EXPECT_TRUE(showPingEntry(*form)->isChecked());
    EXPECT_TRUE(test::waitUntil([&] { return label->text() == "7ms"; }));
}
