#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "connection/Connection.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "settings/WindowLayout.h"
#include "ui/Conversations.h"
#include "ui/ImageList.h"
#include "ui/Look.h"
#include "ui/MainForm.h"
#include "ui/TrayNotifier.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

using namespace tesk;
using Names = std::vector<std::string>;

namespace {

struct SilentSounds : SoundPlayer {
    void play(const QString&) override {}
};

QAction* entry(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) {
            return action;
        }
        if (action->menu()) {
            if (QAction* inner = entry(action->menu(), caption)) {
                return inner;
            }
        }
    }
    return nullptr;
}

// A main window over a session that is never started: its status is set by hand and its
// queue shows what the commands asked for.
class MainFormTest : public ::testing::Test {
protected:
    MainFormTest()
        : tray(sounds, [] { return false; }),
          form(std::make_unique<MainForm>(session, tray, dir.filePath("Tesk.ini"))) {
        SettingsValues values;
        values.anonymous = false;
        settings.publish(values);
        list.assign({"alice", "bob", "john@northrend"});
        form->setUrlOpener([this](const QUrl& url) { opened.push_back(url.toString()); });
        form->setExitFlag(false);
    }

    void select(std::initializer_list<int> rows) {
        form->userList()->clearSelection();
        for (int row : rows) {
            form->userList()->selectionModel()->select(
                form->userList()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    Names queued() const {
        Names texts;
        for (const auto& e : queue.entries()) {
            texts.push_back(e.text);
        }
        return texts;
    }

    QTemporaryDir dir;
    SilentSounds sounds;
    Session session;
    CommandQueue& queue = session.queue();
    LiveSettings& settings = session.settings();
    WatchListModel& list = session.watchList();
    TrayNotifier tray;
    std::unique_ptr<MainForm> form;
    std::vector<QString> opened;
};

}  // namespace

TEST_F(MainFormTest, ClosingOnlyHidesWhileTheExitFlagIsClear) {
    form->show();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(IniFile(dir.filePath("Tesk.ini")).exists());  // nothing saved

    // Without a tray a hidden window could not come back: closing ends the program.
    form->setHideOnClose(false);
    form->show();
    form->close();
    EXPECT_TRUE(form->exitFlag());
    EXPECT_TRUE(IniFile(dir.filePath("Tesk.ini")).exists());
}

// Quitting closes every window: a chat window still open then must not take its size for
// the next one, which keeps the size of the chat window the user closed last.
TEST_F(MainFormTest, ChatWindowsOpenAtExitDoNotSaveTheirSize) {
    ChatContext context;
    context.queue = &queue;
    context.status = [] { return ConnectionStatus::Online; };
    context.iniPath = dir.filePath("Tesk.ini");
    Conversations conversations(context, session, tray, sounds, [] { return true; });
    form->attachConversations(&conversations);
    conversations.openChat("alice");
    conversations.findChat("alice")->resize(400, 300);
    conversations.findChat("alice")->close();
    conversations.openChat("bob");
    conversations.findChat("bob")->resize(500, 420);
    form->show();
    QTimer::singleShot(0, form.get(), [this] { form->exitProgram(); });
    QCoreApplication::exec();
    EXPECT_EQ(readChatFormSize(IniFile(dir.filePath("Tesk.ini"))).width, 400);
}

// Where the platform cannot tell a window's position (Wayland), exit keeps the stored one.
TEST_F(MainFormTest, AnUnknownPositionKeepsTheStoredOne) {
    {
        IniFile ini(dir.filePath("Tesk.ini"));
        writeMainFormGeometry(ini, {130, 300, 40, 50});
        ASSERT_TRUE(ini.flush());
    }
    form->setPositionKnown(false);
    form->show();
    form->resize(150, 320);
    form->move(300, 310);
    form->exitProgram();
    const MainFormGeometry saved = readMainFormGeometry(IniFile(dir.filePath("Tesk.ini")));
    EXPECT_EQ(saved.left, 40);
    EXPECT_EQ(saved.top, 50);
    EXPECT_EQ(saved.width, 150);
}

TEST_F(MainFormTest, ExitSavesTheWatchListGeometryAndToolbars) {
    form->show();
    form->resize(200, 320);
    list.add("carol");
    form->exitProgram();
    const IniFile ini(dir.filePath("Tesk.ini"));
    ASSERT_TRUE(ini.exists());
    EXPECT_EQ(readWatchedNames(ini), (Names{"alice", "bob", "carol", "john@northrend"}));
    EXPECT_TRUE(readLastSeen(ini).empty());  // nobody was seen
    EXPECT_EQ(readMainFormGeometry(ini).width, form->width());
    const auto status = readToolbarLayout(ini, "StatusToolbar", false);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(status->visible);
    EXPECT_EQ(status->dockedTo, "BottomDock");
    EXPECT_FALSE(readToolbarLayout(ini, "PingToolbar", true)->visible);
}

TEST_F(MainFormTest, ShowPingSurvivesARestartThroughTheToolbarLayout) {
    QMenu* program = nullptr;
    for (QMenu* menu : form->findChildren<QMenu*>()) {
        if (menu->title() == "Program") {
            program = menu;
        }
    }
    ASSERT_NE(program, nullptr);
    QAction* toggle = entry(program, "Show Ping");
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(form->pingToolbar()->isHidden());
    IniFile ini(dir.filePath("Tesk.ini"));
    form->saveToolbarLayout(ini);
    ASSERT_TRUE(ini.flush());

    MainForm again(session, tray, dir.filePath("Tesk.ini"));
    EXPECT_TRUE(again.pingToolbar()->isHidden());
    again.loadToolbarLayout(IniFile(dir.filePath("Tesk.ini")));
    EXPECT_FALSE(again.pingToolbar()->isHidden());
    EXPECT_EQ(again.findChild<QLabel*>("PingLabel")->text(), "...");

    // A layout of another revision changes nothing.
    IniFile other(dir.filePath("Tesk.ini"));
    other.writeInteger("Toolbar:PingToolbar", "Rev", 1999);
    other.writeInteger("Toolbar:PingToolbar", "Visible", 0);
    ASSERT_TRUE(other.flush());
    MainForm third(session, tray, dir.filePath("Tesk.ini"));
    third.loadToolbarLayout(IniFile(dir.filePath("Tesk.ini")));
    EXPECT_TRUE(third.pingToolbar()->isHidden());
}

TEST_F(MainFormTest, SelectionDecidesWhichUserEntriesAreOffered) {
    QMenu* user = form->userMenu();
    session.connection().setStatus(ConnectionStatus::Offline);
    select({0});
    EXPECT_FALSE(entry(user, "Chat")->isVisible());
    EXPECT_FALSE(entry(user, "Statistics")->isVisible());

    session.connection().setStatus(ConnectionStatus::Online);
    select({1});
    EXPECT_TRUE(entry(user, "Chat")->isVisible());
    EXPECT_TRUE(entry(user, "Statistics")->isVisible());
    EXPECT_TRUE(entry(user, "All")->isVisible());
    EXPECT_FALSE(entry(user, "Warcraft III")->isVisible());

    select({2});
    EXPECT_TRUE(entry(user, "Warcraft III")->isVisible());
    EXPECT_TRUE(entry(user, "Player profile")->isVisible());
    EXPECT_FALSE(entry(user, "Starcraft")->isVisible());

    select({0, 1});
    EXPECT_FALSE(entry(user, "Chat")->isVisible());
    EXPECT_FALSE(entry(user, "Statistics")->isVisible());
}

TEST_F(MainFormTest, StatisticsClickAndProfileQueueOrOpenForTheSelectedUser) {
    session.connection().setStatus(ConnectionStatus::Online);
    select({0});
    entry(form->userMenu(), "All")->trigger();
    EXPECT_EQ(queued(),
              (Names{"/stats alice sexp", "/stats alice star", "/stats alice w2bn"}));
    select({2});
    entry(form->userMenu(), "Player profile")->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].endsWith("?Gateway=northrend&PlayerName=john"));

    session.queue().clear();
    const QRect row = form->userList()->visualRect(form->userList()->model()->index(1, 0));
    form->show();
    QTest::mouseClick(form->userList()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(queued(), (Names{"/whois bob"}));
    session.connection().setStatus(ConnectionStatus::Offline);
    QTest::mouseClick(form->userList()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(queued().size(), 1u);  // no whois while offline
}

TEST_F(MainFormTest, DeleteKeyRemovesEverySelectedRow) {
    form->show();
    select({0, 2});
    form->userList()->setFocus();
    QTest::keyClick(form->userList(), Qt::Key_Delete);
    EXPECT_EQ(list.names(), (Names{"bob"}));
}

TEST_F(MainFormTest, StatusMenuOffersModesOnlyWithAnAccount) {
    QMenu* status = form->statusMenu();
    emit status->aboutToShow();
    EXPECT_TRUE(entry(status, "Away")->isVisible());
    SettingsValues anonymous;
    anonymous.anonymous = true;
    settings.publish(anonymous);
    emit status->aboutToShow();
    EXPECT_FALSE(entry(status, "Away")->isVisible());
    EXPECT_FALSE(entry(status, "DND")->isVisible());
    EXPECT_TRUE(entry(status, "Offline")->isVisible());
}

TEST_F(MainFormTest, AwayWhileInDndQueuesDndThenAway) {
    session.connection().setStatus(ConnectionStatus::Dnd);
    entry(form->statusMenu(), "Away")->trigger();
    EXPECT_EQ(queued(), (Names{"/dnd", "/away"}));
}

TEST_F(MainFormTest, StatusShowsOnTheButtonAndTheTrayTip) {
    form->showStatus({"Connecting...", ConnectionStatus::Connecting, {}});
    EXPECT_EQ(form->statusCaption(), "Connecting...");
    EXPECT_EQ(tray.tip(), "TESK: Connecting...");
    EXPECT_EQ(tray.image(), 2);
}

// A row with a message waiting shows the envelope, and its tip where the user is now and
// since when.
TEST_F(MainFormTest, RowInformationTip) {
    list.setClock([] { return QDateTime(QDate::currentDate(), QTime(14, 2)); });
    WatchedUser away;
    away.presence = Presence::Away;
    away.place = {Place::Kind::Channel, "Foo"};
    away.awayMessage = "lunch";
    list.setUser(0, away);
    list.setUnread(0, true);
    const QModelIndex alice = form->userList()->model()->index(0, 0);
    EXPECT_EQ(alice.data(Qt::ToolTipRole).toString(),
              "alice\n* channel: Foo\n* away: lunch\n* online since 14:02");
    const auto picture = [](const QVariant& icon) {
        return icon.value<QIcon>().pixmap(16, 16).toImage();
    };
    EXPECT_EQ(picture(alice.data(Qt::DecorationRole)), picture(images::icon(images::kEnvelope)));
    EXPECT_EQ(form->userList()->model()->index(1, 0).data(Qt::ToolTipRole).toString(),
              "bob\n* unknown\n* never seen");
}

// The narrow window keeps its width whatever the status button says, in both looks, and
// the button shows its whole caption.
TEST_F(MainFormTest, StatusCaptionsFitTheNarrowWindow) {
    form->resize(130, 300);
    form->show();
    const auto* button = form->findChild<QToolButton*>("StatusButton");
    for (const bool officeXp : {false, true}) {
        applyLook(*qApp, officeXp);
        for (const char* caption : {"Connecting...", "Offline", "Online"}) {
            form->showStatus({caption, ConnectionStatus::Offline, ""});
            QCoreApplication::processEvents();
            EXPECT_EQ(form->width(), 130) << caption << " in the " << lookName(officeXp) << " look";
            EXPECT_GE(button->width(), button->sizeHint().width()) << caption;
        }
    }
    applyLook(*qApp, false);
}
