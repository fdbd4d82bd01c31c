// The console: its frame and controls, the queue list as a live view of a queue changed
// from other threads, the command line's Enter and Esc, and a log that colours every line,
// keeps only the newest lines at a constant cost and scrolls only a reader at the end.
#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTreeView>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "connection/CommandQueue.h"
#include "support/EventLoop.h"
#include "ui/CommandQueueModel.h"
#include "ui/ConsoleForm.h"

namespace {

using namespace tesk;
using Texts = std::vector<std::string>;

const Rgb kBlack{0, 0, 0};
const Rgb kGreen{0, 128, 0};
const Rgb kRed{128, 0, 0};
const Rgb kBlue{0, 0, 128};

std::string numbered(int n) {
    return "[12:00] 2000 NULL line " + std::to_string(n);
}

class ConsoleFormTest : public ::testing::Test {
protected:
    CommandQueue queue;
    ConsoleForm form{queue};

    template <typename T>
    T* child(const char* name) {
        T* widget = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPlainTextEdit* logMemo() { return child<QPlainTextEdit>("LogMemo"); }
    QTreeView* cmdQueue() { return child<QTreeView>("CmdQueue"); }
    QLineEdit* cmdEdit() { return child<QLineEdit>("CmdEdit"); }

    void open() {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // The texts the queue list shows, top row first.
    Texts shown() {
        Texts texts;
        const QAbstractItemModel* model = cmdQueue()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            texts.push_back(model->index(row, 0).data().toString().toStdString());
        }
        return texts;
    }
    Texts queued() const {
        Texts texts;
        for (const CommandEntry& entry : queue.entries()) {
            texts.push_back(entry.text);
        }
        return texts;
    }
    bool showsQueue() { return shown() == queued(); }

    void type(const QString& text, Qt::Key key = Qt::Key_Return) {
        QTest::keyClicks(cmdEdit(), text);
        QTest::keyClick(cmdEdit(), key);
    }

    // One line, written on its own.
    void log(const std::string& text, Rgb colour = kBlack) {
        form.addToLog({text, colour});
        QCoreApplication::processEvents();
    }
    // Lines that arrive together, written in one go.
    void logLines(int from, int to) {
        for (int n = from; n <= to; ++n) {
            form.addToLog({numbered(n), kBlack});
        }
        QCoreApplication::processEvents();
    }
    QString lastLine() { return logMemo()->document()->lastBlock().text(); }
    QString topVisibleLine() { return logMemo()->cursorForPosition(QPoint(2, 2)).block().text(); }
    QScrollBar* logBar() { return logMemo()->verticalScrollBar(); }
    bool logAtEnd() { return logBar()->value() == logBar()->maximum(); }
};

// ---- Frame and controls ----

TEST_F(ConsoleFormTest, FrameIsAResizableHiddenWindowCalledConsole) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Console"));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_TRUE(form.isWindow());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.size(), QSize(498, 378));
    EXPECT_EQ(form.minimumSize(), QSize(300, 300));
    EXPECT_GT(form.maximumWidth(), 2000);
    EXPECT_GT(form.maximumHeight(), 2000);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_NE(form.layout(), nullptr);
    EXPECT_EQ(form.layout()->contentsMargins(), QMargins(8, 8, 8, 8));
}

TEST_F(ConsoleFormTest, LogIsReadOnlyFramelessOnTheFaceColourWithAVerticalScrollBar) {
    QPlainTextEdit* memo = logMemo();
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->palette().color(QPalette::Base), form.palette().color(QPalette::Window));
}

TEST_F(ConsoleFormTest, LogKeepsItsSelectionVisibleWithoutTheFocus) {
    // A theme whose unfocused selection is drawn in the background colour, i.e. vanishes.
    const QPalette original = QApplication::palette();
    QPalette theme = original;
    theme.setColor(QPalette::Inactive, QPalette::Highlight, theme.color(QPalette::Window));
    theme.setColor(QPalette::Inactive, QPalette::HighlightedText, theme.color(QPalette::Text));
    QApplication::setPalette(theme);
    ConsoleForm themed(queue);
    QApplication::setPalette(original);

    const QPalette palette = themed.findChild<QPlainTextEdit*>("LogMemo")->palette();
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight),
              theme.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::HighlightedText),
              theme.color(QPalette::Active, QPalette::HighlightedText));
    EXPECT_NE(palette.color(QPalette::Inactive, QPalette::Highlight),
              palette.color(QPalette::Inactive, QPalette::Base));
}

TEST_F(ConsoleFormTest, LogGrowsWithTheWindowWhileQueueAndCommandLineKeepToTheBottom) {
    open();
    QLabel* label = nullptr;
    for (QLabel* candidate : form.findChildren<QLabel*>()) {
        if (candidate->text() == QStringLiteral("Command:")) {
            label = candidate;
        }
    }
    ASSERT_NE(label, nullptr);
    for (const QSize size : {QSize(498, 378), QSize(760, 620), QSize(300, 300)}) {
        form.resize(size);
        test::processEventsFor(20);
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QRect memo = logMemo()->geometry();
        const QRect list = cmdQueue()->geometry();
        const QRect edit = cmdEdit()->geometry();
        EXPECT_EQ(memo.topLeft(), QPoint(8, 8));
        EXPECT_EQ(memo.right(), size.width() - 9);
        EXPECT_EQ(list.left(), 8);
        EXPECT_EQ(list.right(), size.width() - 9);
        EXPECT_GT(list.top(), memo.bottom());
        EXPECT_GT(edit.top(), list.bottom());
        EXPECT_EQ(edit.right(), size.width() - 9);
        EXPECT_GT(edit.left(), label->geometry().right());
        EXPECT_LE(size.height() - 9 - edit.bottom(), 2);
    }
    // Only the log takes up extra height.
    form.resize(498, 378);
    test::processEventsFor(20);
    const int memoHeight = logMemo()->height();
    const int listHeight = cmdQueue()->height();
    form.resize(498, 478);
    test::processEventsFor(20);
    EXPECT_EQ(logMemo()->height(), memoHeight + 100);
    EXPECT_EQ(cmdQueue()->height(), listHeight);
}

TEST_F(ConsoleFormTest, ClosingOnlyHidesAndTheLogGoesOnWhileHidden) {
    open();
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.testAttribute(Qt::WA_DeleteOnClose));
    log("[09:15] 1018 INFO \"hidden\"", kGreen);
    open();
    EXPECT_EQ(lastLine(), QStringLiteral("[09:15] 1018 INFO \"hidden\""));
}

// ---- Queue list ----

TEST_F(ConsoleFormTest, QueueListShowsTextsFrontFirstUnderItsHeadingAndKeepsTheMarks) {
    queue.putBack("/whois alice", mark::kProgram);
    queue.putBack("#TESK: Control Command", mark::kControl);
    ConsoleForm late(queue);  // entries that were there before the window
    queue.putFront("/away", mark::kConsole);
    QTreeView* list = late.findChild<QTreeView*>("CmdQueue");
    ASSERT_NE(list, nullptr);
    QAbstractItemModel* model = list->model();
    ASSERT_TRUE(test::waitUntil([&] { return model->rowCount() == 3; }));
    EXPECT_EQ(model->columnCount(), 1);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Command Queue"));
    const std::vector<std::pair<QString, int>> rows = {{"/away", mark::kConsole},
                                                       {"/whois alice", mark::kProgram},
                                                       {"#TESK: Control Command", mark::kControl}};
    for (int row = 0; row < 3; ++row) {
        const QModelIndex index = model->index(row, 0);
        EXPECT_EQ(index.data().toString(), rows[row].first);
        EXPECT_EQ(index.data(CommandQueueModel::kMarkRole).toInt(), rows[row].second);
        EXPECT_FALSE(index.flags() & Qt::ItemIsEditable);
    }
}

TEST_F(ConsoleFormTest, QueueListFollowsChangesMadeOnAnotherThread) {
    std::uint64_t alice = 0;
    std::thread([&] {
        alice = queue.putBack("/whois alice", mark::kProgram);
        queue.putBack("/whois bob", mark::kProgram);
        queue.putFront("/dnd", mark::kProgram);
    }).join();
    EXPECT_TRUE(test::waitUntil([&] { return showsQueue(); }));
    EXPECT_EQ(shown(), (Texts{"/dnd", "/whois alice", "/whois bob"}));

    std::thread([&] { queue.remove(alice); }).join();
    EXPECT_TRUE(test::waitUntil([&] { return shown() == Texts{"/dnd", "/whois bob"}; }));

    std::thread([&] { queue.putFront("/away", mark::kProgram); }).join();
    EXPECT_TRUE(test::waitUntil([&] { return shown() == Texts{"/away", "/dnd", "/whois bob"}; }));

    std::thread([&] { queue.clear(); }).join();
    EXPECT_TRUE(test::waitUntil([&] { return shown().empty(); }));
}

// A refresh already on its way to a console that has gone since must not reach its list.
TEST_F(ConsoleFormTest, AConsoleGoneBeforeAQueueChangeReachesItIsLeftAlone) {
    auto second = std::make_unique<ConsoleForm>(queue);
    std::thread([&] { queue.putBack("/whois alice", mark::kProgram); }).join();
    second.reset();
    std::thread([&] { queue.putBack("/whois bob", mark::kProgram); }).join();
    EXPECT_TRUE(test::waitUntil([&] { return shown() == Texts{"/whois alice", "/whois bob"}; }));
}

TEST_F(ConsoleFormTest, QueueListEndsEqualToAQueueChurnedWhileTheListRefreshes) {
    std::thread churn([&] {
        std::mt19937 random(7);
        std::vector<std::uint64_t> ids;
        for (int step = 0; step < 3000; ++step) {
            const std::string text = "/whois user" + std::to_string(step);
            switch (random() % 5) {
                case 0:
                    ids.push_back(queue.putFront(text, mark::kConsole));
                    break;
                case 1:
                case 2:
                    ids.push_back(queue.putBack(text, mark::kProgram));
                    break;
                case 3:
                    if (!ids.empty()) {
                        queue.remove(ids[random() % ids.size()]);
                    }
                    break;
                default:
                    if (random() % 100 == 0) {
                        queue.clear();
                    } else if (const auto front = queue.front()) {
                        queue.remove(front->id);
                    }
            }
        }
    });
    test::processEventsFor(50);  // refreshes interleave with the churn
    churn.join();
    EXPECT_TRUE(test::waitUntil([&] { return showsQueue(); }));
    EXPECT_EQ(shown(), queued());
}

// The list replays the queue's changes, the changes of one step together as they reach it
// from a busy queue; after each step it shows what the queue holds.
TEST_F(ConsoleFormTest, QueueListEqualsTheQueueAfterEachKindOfChange) {
    std::uint64_t middle = 0;
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"puts at both ends",
         [&] {
             queue.putBack("/whois a", mark::kProgram);
             middle = queue.putBack("/whois b", mark::kProgram);
             queue.putFront("/away", mark::kProgram);
             queue.putFront("/dnd", mark::kConsole);
             queue.putBack("/whois c", mark::kProgram);
         }},
        {"lines that leave in order, ahead of a front put",
         [&] {
             queue.putFront("/join x", mark::kProgram);
             queue.putFrontInOrder({"/w bob 1", "/w bob 2"}, mark::kProgram);
         }},
        {"the writer taking the front", [&] { queue.remove(queue.front()->id); }},
        {"an entry removed from the middle, and again",
         [&] {
             queue.remove(middle);
             queue.remove(middle);
         }},
        {"an entry removed right after it was put",
         [&] { queue.remove(queue.putBack("/whois d", mark::kProgram)); }},
        {"a reset between puts",
         [&] {
             queue.putBack("/whois e", mark::kProgram);
             queue.clear();
             queue.putFront("/away", mark::kProgram);
             queue.putBack("/whois f", mark::kProgram);
         }},
        {"a reset", [&] { queue.clear(); }},
    };
    for (const auto& [what, change] : steps) {
        change();
        EXPECT_TRUE(test::waitUntil([&] { return showsQueue(); })) << what;
    }
}

TEST_F(ConsoleFormTest, QueueListKeepsTheSelectedEntryWhileOthersComeAndGo) {
    const std::uint64_t first = queue.putBack("/whois alice", mark::kProgram);
    queue.putBack("/whois bob", mark::kProgram);
    ASSERT_TRUE(test::waitUntil([&] { return shown().size() == 2; }));
    QTreeView* list = cmdQueue();
    list->selectionModel()->select(list->model()->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    std::thread([&] {
        queue.remove(first);
        queue.putFront("/away", mark::kProgram);
        queue.putBack("/whois carol", mark::kProgram);
    }).join();
    ASSERT_TRUE(test::waitUntil([&] { return shown().size() == 3; }));
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().data().toString(), QStringLiteral("/whois bob"));
}

TEST_F(ConsoleFormTest, QueueListIsReadOnlySelectsWholeRowsAndIgnoresHeaderClicks) {
    queue.putBack("/whois bob", mark::kProgram);
    queue.putBack("/whois alice", mark::kProgram);
    open();
    ASSERT_TRUE(test::waitUntil([&] { return shown().size() == 2; }));
    QTreeView* list = cmdQueue();
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(list->isHeaderHidden());
    EXPECT_FALSE(list->header()->sectionsClickable());

    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    test::processEventsFor(20);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->header()->isSortIndicatorShown());
    EXPECT_EQ(shown(), (Texts{"/whois bob", "/whois alice"}));

    const QRect firstRow = list->visualRect(list->model()->index(0, 0));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, firstRow.center());
    test::processEventsFor(20);
    EXPECT_TRUE(list->findChildren<QLineEdit*>().isEmpty());  // no editor opened
    EXPECT_EQ(queued(), (Texts{"/whois bob", "/whois alice"}));
}

TEST_F(ConsoleFormTest, QueueColumnStaysTwentyFivePixelsNarrowerThanTheList) {
    open();
    for (const int width : {498, 731, 300, 612}) {
        form.resize(width, 400);
        test::processEventsFor(20);
        QTreeView* list = cmdQueue();
        EXPECT_EQ(list->width(), width - 16);
        EXPECT_EQ(list->columnWidth(0), list->width() - 25) << "window width " << width;
    }
}

// ---- Command line ----

TEST_F(ConsoleFormTest, EnterPutsTheTypedTextAtTheFrontWithTheConsoleMarkAndEmptiesTheLine) {
    queue.putBack("/whois alice", mark::kProgram);
    open();
    type(" /whois  John@Northrend ");
    ASSERT_EQ(queue.size(), 2u);
    const CommandEntry front = *queue.front();
    EXPECT_EQ(front.text, " /whois  John@Northrend ");
    EXPECT_EQ(front.mark, mark::kConsole);
    EXPECT_TRUE(cmdEdit()->text().isEmpty());
    EXPECT_TRUE(test::waitUntil([&] { return showsQueue(); }));
    EXPECT_EQ(shown().front(), " /whois  John@Northrend ");
}

TEST_F(ConsoleFormTest, CommandsTypedOneAfterAnotherQueueLastTypedFirst) {
    open();
    type("/whois alice");
    type("/stats bob war3", Qt::Key_Enter);  // the keypad's Enter as well
    type(" ");
    EXPECT_EQ(queued(), (Texts{" ", "/stats bob war3", "/whois alice"}));
    for (const CommandEntry& entry : queue.entries()) {
        EXPECT_EQ(entry.mark, mark::kConsole);
    }
}

TEST_F(ConsoleFormTest, EnterOnAnEmptyLineLeavesTheQueueAlone) {
    queue.putBack("/whois alice", mark::kProgram);
    open();
    const auto changes = queue.wakeCount();
    QTest::keyClick(cmdEdit(), Qt::Key_Return);
    QTest::keyClick(cmdEdit(), Qt::Key_Enter);
    EXPECT_EQ(queue.wakeCount(), changes);
    EXPECT_EQ(queued(), Texts{"/whois alice"});
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ConsoleFormTest, EscHidesTheConsoleAndQueuesNothing) {
    open();
    QTest::keyClicks(cmdEdit(), "/away");
    QTest::keyClick(cmdEdit(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(queue.size(), 0u);
}

// ---- Log ----

TEST_F(ConsoleFormTest, EveryEntryIsOneLineInItsOwnColourTakenLiterally) {
    open();
    const std::vector<std::pair<std::string, Rgb>> entries = {
        {"[14:05] 1018 INFO \"<b>bold</b> &amp; plain\"", kGreen},
        {"[14:05] 1019 ERROR \"That user is not logged on.\"", kRed},
        {"[14:06] ", kBlack},
        {"[14:06] 1004 WHISPER bob 0010 \"hi\"", kBlue}};
    for (const auto& [text, colour] : entries) {
        log(text, colour);
    }
    QTextDocument* document = logMemo()->document();
    ASSERT_EQ(document->blockCount(), 4);
    QTextBlock block = document->firstBlock();
    for (const auto& [text, colour] : entries) {
        EXPECT_EQ(block.text().toStdString(), text);
        const QColor expected(colour.red, colour.green, colour.blue);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            EXPECT_EQ(it.fragment().charFormat().foreground().color(), expected) << text;
        }
        block = block.next();
    }
}

TEST_F(ConsoleFormTest, NewLinesDoNotRecolourWhatTheUserSelected) {
    open();
    log("[10:00] 1018 INFO \"first\"", kGreen);
    QTextCursor selection(logMemo()->document());
    selection.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    logMemo()->setTextCursor(selection);
    log("[10:01] 1019 ERROR \"second\"", kRed);
    const QTextBlock first = logMemo()->document()->firstBlock();
    for (auto it = first.begin(); !it.atEnd(); ++it) {
        EXPECT_EQ(it.fragment().charFormat().foreground().color(), QColor(0, 128, 0));
    }
    EXPECT_TRUE(logMemo()->textCursor().hasSelection());
}

TEST_F(ConsoleFormTest, LogKeepsTheNewestFiftyThousandLinesAtAConstantCost) {
    open();
    const auto timeThousandLines = [&](int from) {
        QElapsedTimer clock;
        clock.start();
        logLines(from, from + 999);
        // So many lines at once are a flood, written once the lines pause.
        EXPECT_TRUE(
            test::waitUntil([&] { return lastLine().toStdString() == numbered(from + 999); }));
        return clock.elapsed();
    };
    const qint64 early = timeThousandLines(1);
    logLines(1001, 59000);
    const qint64 atLimit = timeThousandLines(59001);

    QTextDocument* document = logMemo()->document();
    EXPECT_EQ(document->blockCount(), 50000);
    EXPECT_EQ(document->firstBlock().text().toStdString(), numbered(10001));
    EXPECT_EQ(lastLine().toStdString(), numbered(60000));
    // Relaying out the whole log for every dropped line costs about 300 times more.
    EXPECT_LT(atLimit, 10 * early + 500) << "first thousand " << early << " ms";
}

TEST_F(ConsoleFormTest, LogFollowsNewLinesOnlyWhileItShowsTheEnd) {
    open();
    logLines(1, 200);
    test::processEventsFor(20);
    EXPECT_TRUE(logAtEnd());
    EXPECT_EQ(logMemo()
                  ->cursorForPosition(logMemo()->viewport()->rect().bottomLeft() + QPoint(2, -4))
                  .block()
                  .text()
                  .toStdString(),
              numbered(200));

    logBar()->setValue(20);  // the user scrolls up to read
    const QString reading = topVisibleLine();
    logLines(201, 400);
    test::processEventsFor(20);
    EXPECT_EQ(logBar()->value(), 20);
    EXPECT_EQ(topVisibleLine(), reading);

    logBar()->setValue(logBar()->maximum());  // and back down to the end
    logLines(401, 450);
    test::processEventsFor(20);
    EXPECT_TRUE(logAtEnd());
    EXPECT_GT(logBar()->value(), 20);
}

TEST_F(ConsoleFormTest, AReaderAtTheLimitKeepsTheLinesInViewWhileOldOnesAreDropped) {
    logLines(1, 50000);
    open();
    test::processEventsFor(20);
    EXPECT_TRUE(logAtEnd());
    EXPECT_EQ(lastLine().toStdString(), numbered(50000));

    logBar()->setValue(logBar()->maximum() / 2);
    const QString reading = topVisibleLine();
    logLines(50001, 50300);
    test::processEventsFor(20);
    EXPECT_EQ(topVisibleLine(), reading);
    EXPECT_EQ(logMemo()->document()->blockCount(), 50000);
}

TEST_F(ConsoleFormTest, LinesLoggedWhileHiddenAreAllShownUpToTheLimit) {
    logLines(1, 50100);
    open();
    QTextDocument* document = logMemo()->document();
    EXPECT_EQ(document->blockCount(), 50000);
    EXPECT_EQ(document->firstBlock().text().toStdString(), numbered(101));
    EXPECT_EQ(lastLine().toStdString(), numbered(50100));
}

TEST_F(ConsoleFormTest, AConsoleOpenedAfterLoggingHiddenShowsTheNewestLines) {
    logLines(1, 300);
    open();
    test::processEventsFor(20);
    EXPECT_TRUE(logAtEnd());
    EXPECT_NE(topVisibleLine().toStdString(), numbered(1));

    form.hide();
    logLines(301, 600);
    open();
    test::processEventsFor(20);
    EXPECT_TRUE(logAtEnd());
}

}  // namespace
