// Text from the network shown as plain text and bounded in bytes, and the windows that
// remote input may open.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "QuietSessionView.h"
#include "connection/CommandQueue.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "settings/LiveSettings.h"
#include "ui/ChatForm.h"
#include "ui/ConsoleForm.h"
#include "ui/Conversations.h"
#include "ui/HeldMessagesForm.h"
#include "ui/TrayNotifier.h"
#include "ui/WatchListIcons.h"
#include "watch/WatchListModel.h"

using namespace tesk;

namespace {

struct SilentSounds : SoundPlayer {
    void play(const QString&) override {}
};

QString withoutJoiners(QString tip) {
    return tip.remove(QChar(0x2060));
}

const QString kHostileMarkup = "x<img width=20000 height=20000>&lt;b&gt;";

TEST(PlainToolTips, RowAndTrayTipsShowMarkupAsItsLiteralText) {
    WatchListModel list;
    list.assign({"alice"});
    WatchedUser user;
    user.place = {Place::Kind::Channel, kHostileMarkup.toStdString()};
    user.awayMessage = "<b>back soon</b>";
    list.setUser(0, user);
    WatchListIcons icons;
    icons.setSourceModel(&list);
    const QString tip = icons.data(icons.index(0, 0), Qt::ToolTipRole).toString();
    EXPECT_FALSE(Qt::mightBeRichText(tip));
    EXPECT_EQ(withoutJoiners(tip),
              "alice\n* channel: " + kHostileMarkup + "\n* away: <b>back soon</b>\n* never seen");

    SilentSounds sounds;
    TrayNotifier tray(
        sounds, [] { return false; }, std::chrono::milliseconds(10000), [] { return true; });
    tray.show();
    tray.announceOnline(kHostileMarkup);
    const QString trayTip = tray.findChild<QSystemTrayIcon*>()->toolTip();
    EXPECT_FALSE(Qt::mightBeRichText(trayTip));
    EXPECT_EQ(withoutJoiners(trayTip), "TESK: User " + kHostileMarkup + " is online");
}

LogEntry logLine(const std::string& text) {
    return {"[12:00] " + text, {0, 0, 0}};
}

// With small budgets the log keeps within both limits while hidden and while shown,
// and a long line is cut with a mark; a line break inside a line stays on its line.
TEST(ConsoleBudget, TheLogStaysWithinItsLinesAndBytes) {
    CommandQueue queue;
    RemoteTextLimits limits;
    limits.shownLineBytes = 50;
    limits.consoleLines = 30;
    limits.consoleBytes = 1000;
    ConsoleForm console(queue, limits);
    for (int i = 0; i < 200; ++i) {
        console.addToLog(logLine(std::string(100, 'a' + i % 26)));
    }
    EXPECT_LE(console.keptBytes(), limits.consoleBytes);
    EXPECT_EQ(console.keptLines(), 20);  // 50 bytes each

    console.show();
    QApplication::processEvents();
    auto* log = console.findChild<QPlainTextEdit*>("LogMemo");
    EXPECT_EQ(log->document()->blockCount(), 20);
    EXPECT_EQ(log->document()->lastBlock().text(),
              "[12:00] " + QString(42, QChar('a' + 199 % 26)) + QChar(0x2026));

    console.addToLog(logLine("one\ntwo\rthree"));
    QApplication::processEvents();
    EXPECT_EQ(log->document()->blockCount(), 20);  // the bytes limit drops the oldest
    EXPECT_EQ(log->document()->lastBlock().text(),
              QString::fromUtf8("[12:00] one\u240Atwo\u240Dthree"));

    for (int i = 0; i < 100; ++i) {
        console.addToLog(logLine("short " + std::to_string(i)));
    }
    QApplication::processEvents();
    EXPECT_LE(console.keptBytes(), limits.consoleBytes);
    EXPECT_EQ(log->document()->blockCount(), limits.consoleLines);
    EXPECT_EQ(console.keptLines(), limits.consoleLines);
    EXPECT_EQ(log->document()->lastBlock().text(), "[12:00] short 99");
}

class ConversationsBounds : public ::testing::Test {
protected:
    ConversationsBounds()
        : session({}, smallLimits(), [this] { return now; }), tray(sounds, [] { return false; }) {
        SettingsValues values;
        values.user = "me";
        session.settings().publish(values);
        session.watchList().assign({"bob"});
        ChatContext context;
        context.queue = &session.queue();
        context.status = [] { return ConnectionStatus::Online; };
        context.iniPath = dir.filePath("Tesk.ini");
        context.limits = smallLimits();
        conversations =
            std::make_unique<Conversations>(context, session, tray, sounds, [] { return true; });
        conversations->setHeldChanged([this](std::size_t lines) { heldLines = lines; });
        session.attachViews(view, *conversations);
    }

    static RemoteTextLimits smallLimits() {
        RemoteTextLimits limits;
        limits.transcriptBytes = 300;
        limits.strangerWindows = 5;
        return limits;
    }

    void whisperFrom(const std::string& name, const std::string& text) {
        session.handle(WhisperEvent{true, name, text});
    }

    QTemporaryDir dir;
    SilentSounds sounds;
    Session::Clock::time_point now{};
    Session session;
    test::QuietSessionView view;
    TrayNotifier tray;
    std::size_t heldLines = 0;
    std::unique_ptr<Conversations> conversations;
};

TEST_F(ConversationsBounds, ATranscriptDropsItsOldestParagraphsUnderANote) {
    for (int i = 0; i < 40; ++i) {
        whisperFrom("bob", "message number " + std::to_string(i) + "\x1b[2J");
    }
    ChatForm* chat = conversations->findChat("bob");
    ASSERT_NE(chat, nullptr);
    const QStringList lines = chat->transcript().split('\n');
    EXPECT_EQ(lines.first(), BoundedTranscript::kOlderRemoved);
    EXPECT_EQ(lines.count(BoundedTranscript::kOlderRemoved), 1);
    EXPECT_EQ(lines.last(), QString::fromUtf8("message number 39\u241B[2J"));
    EXPECT_LE(lines.mid(1).join("").toUtf8().size(), 300);
}

TEST_F(ConversationsBounds, TheSixthStrangerInAMinuteIsHeldAndOpensWithItsText) {
    for (int i = 1; i <= 6; ++i) {
        whisperFrom("stranger" + std::to_string(i), "hello from " + std::to_string(i));
    }
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NE(conversations->findChat("stranger" + std::to_string(i)), nullptr) << i;
    }
    EXPECT_EQ(conversations->findChat("stranger6"), nullptr);
    whisperFrom("stranger6", "are you there?");
    EXPECT_EQ(heldLines, 2u);

    HeldMessagesForm held(*conversations);
    held.showHeld();
    auto* partners = held.findChild<QListWidget*>("HeldPartners");
    ASSERT_EQ(partners->count(), 1);
    EXPECT_EQ(partners->item(0)->text(), "stranger6");
    held.findChild<QPushButton*>("OpenButton")->click();
    ChatForm* chat = conversations->findChat("stranger6");
    ASSERT_NE(chat, nullptr);
    EXPECT_TRUE(chat->isVisible());
    EXPECT_TRUE(chat->transcript().contains("hello from 6"));
    EXPECT_TRUE(chat->transcript().contains("are you there?"));
    EXPECT_EQ(heldLines, 0u);

    // A minute later new partners get windows again.
    now += std::chrono::minutes(1);
    whisperFrom("stranger7", "hi");
    EXPECT_NE(conversations->findChat("stranger7"), nullptr);
}

}  // namespace
