#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "QuietSessionView.h"
#include "connection/CommandQueue.h"
#include "connection/ReplyLines.h"
#include "connection/ReplyReading.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "settings/WindowLayout.h"
#include "ui/Conversations.h"
#include "ui/ImageList.h"
#include "ui/TrayNotifier.h"
#include "watch/AddUser.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

using namespace tesk;

namespace {

WhisperEvent whisperOf(const std::string& line) {
    WhisperLine whisper = splitWhisperLine(line);
    return {whisper.incoming, whisper.partner, whisper.text};
}

struct RecordingSounds : SoundPlayer {
    void play(const QString& path) override { played.push_back(path); }
    std::vector<QString> played;
};

// The chat and statistics windows of a session that is never started: events are handed
// to it as the reader would.
class ConversationsTest : public ::testing::Test {
protected:
    ConversationsTest() : tray(sounds, [] { return true; }), list(session.watchList()) {
        SettingsValues values;
        values.user = "me";
        values.anonymous = false;
        session.settings().publish(values);
        list.assign({"bob", "Tom-Cat.1"});
        ChatContext context;
        context.queue = &session.queue();
        context.status = [this] { return status; };
        context.addUser = [this](const std::string& name) {
            addWatchedUser(list, session.queue(), status, name);
        };
        context.openUrl = [this](const QUrl& url) { opened.push_back(url.toString()); };
        context.showError = [](QWidget*, const QString&) {};
        context.historyTail = [this](const std::string& partner) {
            return session.historyTail(partner);
        };
        context.deleteHistory = [this](const std::string& partner) {
            session.deleteHistory(partner);
        };
        context.confirm = [this](QWidget*, const QString& question) {
            questions.push_back(question);
            return confirmAnswer;
        };
        context.iniPath = dir.filePath("Tesk.ini");
        conversations = std::make_unique<Conversations>(context, session, tray, sounds,
                                                        [this] { return mainVisible; });
        session.attachViews(view, *conversations);
    }

    QTemporaryDir dir;
    RecordingSounds sounds;
    Session session;
    test::QuietSessionView view;
    TrayNotifier tray;
    WatchListModel& list;
    CommandQueue& queue = session.queue();
    ConnectionStatus status = ConnectionStatus::Online;
    bool mainVisible = true;
    std::vector<QString> opened;
    std::vector<QString> questions;
    bool confirmAnswer = false;
    std::unique_ptr<Conversations> conversations;
};

}  // namespace

TEST_F(ConversationsTest, WhisperFromAnUnwatchedUserShowsItsWindowQuietly) {
    mainVisible = false;
    session.handle(whisperOf("1004 WHISPER carol 0000 \"hi there\""));
    ChatForm* chat = conversations->findChat("carol");
    ASSERT_NE(chat, nullptr);
    EXPECT_TRUE(chat->isVisible());
    EXPECT_EQ(chat->windowTitle(), "Chat: carol");
    EXPECT_FALSE(chat->windowIcon().isNull());  // the application's, not the WM's "missing"
    EXPECT_TRUE(chat->transcript().startsWith("carol ("));
    EXPECT_TRUE(chat->transcript().endsWith("\nhi there"));
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(tray.image(), -1);  // no notice
}

TEST_F(ConversationsTest, WhisperFromAWatchedUserMarksTheRowAndNotifiesWhileHidden) {
    session.handle(whisperOf("1004 WHISPER bob 0000 \"ping\""));
    ChatForm* chat = conversations->findChat("bob");
    ASSERT_NE(chat, nullptr);
    EXPECT_FALSE(chat->isVisible());
    const WatchedUser& bob = list.row(list.find("bob")).user;
    EXPECT_TRUE(bob.unread);
    EXPECT_EQ(sounds.played, (std::vector<QString>{"sounds/message.wav"}));
    EXPECT_EQ(tray.image(), -1);  // the main window is visible: no tray notice

    mainVisible = false;
    session.handle(whisperOf("1004 WHISPER bob 0000 \"again\""));
    EXPECT_EQ(tray.tip(), "TESK: New message from bob");
    EXPECT_EQ(tray.image(), images::kEnvelope);
    EXPECT_EQ(conversations->findChat("BOB"), chat);  // one window per partner

    // The reply to a whois queued before the whisper tells where bob is; his message
    // waits until his chat window opens.
    struct : OnlineAnnouncer {
        void announceOnline(const std::string&) override {}
    } announcer;
    updateUser(list, WhoisAnswer{"bob", "1018 INFO \"bob is using Chat in the channel Foo.\""},
               announcer);
    EXPECT_EQ(bob.presence, Presence::Online);
    EXPECT_TRUE(bob.unread);
    conversations->openChat("bob");
    EXPECT_FALSE(bob.unread);
}

TEST_F(ConversationsTest, ConfirmationOfOwnWhisperUsesTheAccountNameAndNoSound) {
    conversations->openChat("bob");
    session.handle(whisperOf("1010 WHISPER bob 0000 \"my words\""));
    ChatForm* chat = conversations->findChat("bob");
    EXPECT_TRUE(chat->transcript().startsWith("me ("));
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_FALSE(list.row(list.find("bob")).user.unread);  // window on screen
    const QTextEdit* memo = chat->findChild<QTextEdit*>("ChatMemo");
    QTextCursor cursor(memo->document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(7, 62, 122));
    EXPECT_GT(memo->document()->lastBlock().blockFormat().leftMargin(), 0);
}

TEST_F(ConversationsTest, RefusedWhisperShowsItsReasonInRedUnderTheText) {
    conversations->openChat("bob");
    session.handle(WhisperRefusal{"bob", "hello bob", "bob is refusing messages (<b>busy</b>\n)"});
    ChatForm* chat = conversations->findChat("bob");
    const QStringList lines = chat->transcript().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("me ("));
    EXPECT_EQ(lines[1], "hello bob");
    EXPECT_EQ(lines[2], QString("Not delivered: bob is refusing messages (<b>busy</b>") +
                            QChar(0x240A) + ")");
    const QTextBlock refusal = chat->findChild<QTextEdit*>("ChatMemo")->document()->lastBlock();
    EXPECT_EQ(refusal.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    EXPECT_GT(refusal.blockFormat().leftMargin(), 0);

    // Without a window it goes where the confirmation would have gone.
    session.handle(WhisperRefusal{"carol", "hi", "That user is not logged on."});
    ChatForm* carol = conversations->findChat("carol");
    ASSERT_NE(carol, nullptr);
    EXPECT_TRUE(carol->isVisible());
    EXPECT_TRUE(carol->transcript().endsWith("\nhi\nNot delivered: That user is not logged on."));
    EXPECT_TRUE(sounds.played.empty());
}

TEST_F(ConversationsTest, NamesThatFoldAlikeShareOneWindow) {
    session.handle(whisperOf("1004 WHISPER tom_cat_1 0000 \"a\""));
    session.handle(whisperOf("1004 WHISPER TOM-CAT.1 0000 \"b\""));
    ChatForm* chat = conversations->findChat("Tom-Cat.1");
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(chat->partnerName(), "tom_cat_1");
    EXPECT_EQ(chat->objectName(), "_tom_cat_1ChatForm");
    EXPECT_TRUE(chat->transcript().contains("b"));
}

TEST_F(ConversationsTest, SendingQueuesTheWhisperOrSaysNotConnected) {
    conversations->openChat("bob");
    ChatForm* chat = conversations->findChat("bob");
    chat->sendButtonClick();  // empty line: nothing
    EXPECT_EQ(queue.size(), 0u);
    EXPECT_TRUE(chat->transcript().isEmpty());

    chat->msgEdit()->setText("hello bob");
    QTest::keyClick(chat->msgEdit(), Qt::Key_Return);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front()->text, "/w bob hello bob");
    EXPECT_TRUE(chat->msgEdit()->text().isEmpty());
    EXPECT_TRUE(chat->transcript().isEmpty());  // written when the gateway confirms

    status = ConnectionStatus::Offline;
    chat->msgEdit()->setText("later");
    chat->sendButtonClick();
    EXPECT_EQ(queue.size(), 1u);
    EXPECT_EQ(chat->transcript(), "Not connected!");
    const QTextBlock notice = chat->findChild<QTextEdit*>("ChatMemo")->document()->lastBlock();
    EXPECT_EQ(notice.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    EXPECT_EQ(chat->msgEdit()->text(), "later");
}

TEST_F(ConversationsTest, ChatWindowsRememberTheSizeOfTheLastOneClosed) {
    conversations->openChat("bob");
    ChatForm* first = conversations->findChat("bob");
    EXPECT_EQ(first->size(), QSize(350, 250));
    first->resize(400, 300);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(conversations->findChat("bob"), nullptr);
    EXPECT_EQ(readChatFormSize(IniFile(dir.filePath("Tesk.ini"))).width, 400);
    conversations->openChat("carol");
    EXPECT_EQ(conversations->findChat("carol")->size(), QSize(400, 300));
    EXPECT_GE(conversations->findChat("carol")->minimumSize().width(), 200);
}

TEST_F(ConversationsTest, EscapeClosesTheChatLikeTheCloseBox) {
    conversations->openChat("bob");
    QTest::keyClick(conversations->findChat("bob")->msgEdit(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(conversations->findChat("bob"), nullptr);
    EXPECT_TRUE(IniFile(dir.filePath("Tesk.ini")).exists());
}

TEST_F(ConversationsTest, ChatStatisticsMenuFollowsTheAtSign) {
    conversations->openChat("john@northrend");
    QMenu* menu = conversations->findChat("john@northrend")->statsMenu();
    emit menu->aboutToShow();
    const auto visible = [menu](const char* name) {
        return menu->findChild<QAction*>(name) == nullptr
                   ? false
                   : menu->findChild<QAction*>(name)->isVisible();
    };
    EXPECT_TRUE(visible("War3StatsButton"));
    EXPECT_TRUE(visible("War3ProfileButton"));
    EXPECT_FALSE(visible("AllStatsButton"));
    menu->findChild<QAction*>("War3ProfileButton")->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].endsWith("?Gateway=northrend&PlayerName=john"));

    conversations->openChat("@odd");
    QMenu* odd = conversations->findChat("@odd")->statsMenu();
    emit odd->aboutToShow();
    EXPECT_TRUE(odd->findChild<QAction*>("AllStatsButton")->isVisible());
    odd->findChild<QAction*>("AllStatsButton")->trigger();
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue.entries()[0].text, "/stats @odd sexp");
    EXPECT_EQ(queue.entries()[2].text, "/stats @odd w2bn");
}

// The Statistics button makes room for its arrow beside the magnifier, and a click on
// the magnifier opens the products too.
TEST_F(ConversationsTest, StatisticsButtonShowsItsArrowAndAClickOpensIt) {
    conversations->openChat("bob");
    ChatForm* chat = conversations->findChat("bob");
    auto* button = chat->findChild<QToolButton*>("StatsButton");
    ASSERT_NE(button, nullptr);
    EXPECT_GE(button->width(), button->iconSize().width() +
                                   button->style()->pixelMetric(QStyle::PM_MenuButtonIndicator));
    bool opened = false;
    QTimer::singleShot(0, chat, [&opened, chat] {
        opened = chat->statsMenu()->isVisible();
        chat->statsMenu()->close();
    });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    EXPECT_TRUE(opened);
}

// A statistics window opens small and grows with the user's resizing, text included.
TEST_F(ConversationsTest, StatisticsWindowOpensSmallAndCanGrow) {
    StatsForm window("bob", RemoteTextLimits{});
    window.show();
    EXPECT_EQ(window.size(), QSize(330, 176));
    const int textWidth = window.findChild<QTextEdit*>("StatsMemo")->width();
    window.resize(500, 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(500, 400));
    EXPECT_EQ(window.findChild<QTextEdit*>("StatsMemo")->width(), textWidth + 170);
}

TEST_F(ConversationsTest, AllForAClosedWindowGivesOneWindowWithThreeHeadings) {
    const char* replies[][2] = {{"/stats", "alice sexp"}, {"/stats", "alice star"},
                                {"/stats", "alice w2bn"}};
    for (const auto& echo : replies) {
        ReaderState state{echo[0], echo[1]};
        for (const char* line : {"1018 INFO \"alice's record:\"", "1018 INFO \"Normal: 1-2-0\""}) {
            session.handle(std::get<StatsAnswer>(*readReply(LineCase::StatsReply, line, state)));
        }
        EXPECT_EQ(state.lastArgument, "alice");
    }
    StatsForm* window = conversations->findStats("ALICE");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Statistics: alice");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->text(),
              "Starcraft - Brood War statistics:\nNormal: 1-2-0\n\n"
              "Starcraft statistics:\nNormal: 1-2-0\n\n"
              "Warcraft II Battle.net Edition statistics:\nNormal: 1-2-0");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(conversations->findStats("alice"), nullptr);
}

TEST_F(ConversationsTest, AddFromAChatWatchesThePartner) {
    conversations->openChat("carol");
    conversations->findChat("carol")->findChild<QAction*>("AddUserButton")->trigger();
    EXPECT_NE(list.find("carol"), -1);
    EXPECT_EQ(queue.front()->text, "/whois carol");
}

TEST_F(ConversationsTest, HistoryKeepsBothDirectionsAndAWindowShowsItOnceAboveTheConversation) {
    SettingsValues values = session.settings().snapshot();
    values.history = true;
    session.settings().publish(values);
    session.keepHistoryIn(dir.filePath("history"));
    const auto closeChat = [this](const std::string& partner) {
        conversations->findChat(partner)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    conversations->openChat("bob");
    session.handle(whisperOf("1004 WHISPER bob 0000 \"hi <b>you</b>\""));
    session.handle(WhisperEvent{false, "bob", "hello\nbob"});  // confirmed
    session.handle(WhisperRefusal{"bob", "still there?", "That user is not logged on."});
    closeChat("bob");
    // While the window is closed a line arrives: the window made for it shows the history
    // written before, and the new line once, below it.
    session.handle(whisperOf("1004 WHISPER bob 0000 \"again\""));
    conversations->openChat("bob");
    const QStringList shown = conversations->findChat("bob")->transcript().split('\n');
    const QStringList expected = {"bob: hi <b>you</b>", "me: hello\\nbob", "me: still there?",
                                  "Not delivered: That user is not logged on."};
    ASSERT_EQ(shown.size(), 6) << shown.join('|').toStdString();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(shown[i].mid(20), expected[i]) << shown[i].toStdString();  // after the time
    }
    EXPECT_TRUE(shown[4].startsWith("bob ("));
    EXPECT_EQ(shown[5], "again");

    QFile file(dir.filePath("history/bob.log"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[4].mid(20), "bob: again");

    // A stranger's window that opened keeps his history too; turned off, nothing is kept
    // and a new window shows none.
    session.handle(whisperOf("1004 WHISPER carol 0000 \"hey\""));
    EXPECT_EQ(session.historyTail("carol").size(), 1u);
    values.history = false;
    session.settings().publish(values);
    session.handle(whisperOf("1004 WHISPER carol 0000 \"unkept\""));
    closeChat("carol");
    conversations->openChat("carol");
    EXPECT_EQ(conversations->findChat("carol")->transcript(), "");
    values.history = true;
    session.settings().publish(values);

    // "Delete history…" asks first and removes the files only on a yes.
    QMenu* menu = conversations->findChat("bob")->makeTranscriptMenu();
    QAction* remove = menu->findChild<QAction*>("DeleteHistoryAction");
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->text(), "Delete history…");
    remove->trigger();
    EXPECT_TRUE(file.exists());
    confirmAnswer = true;
    remove->trigger();
    EXPECT_FALSE(file.exists());
    EXPECT_EQ(questions, (std::vector<QString>(2, "Delete the whisper history with bob?")));
    delete menu;
}
