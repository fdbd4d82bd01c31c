#include "ui/ConsoleForm.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeView>
#include <QVBoxLayout>

#include "connection/CommandQueue.h"
#include "platform/MemoryPolicy.h"
#include "ui/CommandQueueModel.h"
#include "ui/ImageList.h"
#include "ui/KeyHandler.h"
#include "ui/ScreenPlacement.h"
#include "watch/ShownText.h"

namespace tesk {

namespace {

constexpr int kQueueListHeight = 105;
constexpr int kColumnInset = 25;  // the queue column stays this much narrower than its list

// Log on the window's face colour; a selection keeps its colours when the log loses focus.
void styleLog(QPlainTextEdit* log) {
    QPalette palette = log->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    log->setPalette(palette);
}

}  // namespace

ConsoleForm::ConsoleForm(CommandQueue& queue, const RemoteTextLimits& limits, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      queue_(queue),
      limits_(limits),
      logMemo_(new QPlainTextEdit(this)),
      cmdQueue_(new QTreeView(this)),
      cmdEdit_(new QLineEdit(this)),
      pending_(limits) {
    setObjectName("ConsoleForm");
    setWindowTitle("Console");
    setWindowIcon(images::applicationIcon());
    setMinimumSize(300, 300);
    resize(498, 378);

    // A plain-text document keeps appending cheap when the oldest line has to go, and
    // keeps the lines a reader has scrolled to in place meanwhile.
    logMemo_->setObjectName("LogMemo");
    logMemo_->setReadOnly(true);
    logMemo_->setFrameShape(QFrame::NoFrame);
    logMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logMemo_->setMaximumBlockCount(limits_.consoleLines);
    logMemo_->setUndoRedoEnabled(false);  // nobody undoes the log; the history would only grow
    styleLog(logMemo_);
    writeTimer_.setSingleShot(true);
    connect(&writeTimer_, &QTimer::timeout, this, &ConsoleForm::writeDue);

    cmdQueue_->setObjectName("CmdQueue");
    cmdQueue_->setModel(new CommandQueueModel(queue_, cmdQueue_));
    cmdQueue_->setRootIsDecorated(false);
    cmdQueue_->setItemsExpandable(false);
    cmdQueue_->setUniformRowHeights(true);
    cmdQueue_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cmdQueue_->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdQueue_->setSelectionBehavior(QAbstractItemView::SelectRows);
    cmdQueue_->header()->setSectionsClickable(false);
    cmdQueue_->header()->setSectionsMovable(false);
    cmdQueue_->header()->setStretchLastSection(false);
    cmdQueue_->setFixedHeight(kQueueListHeight);
    cmdQueue_->installEventFilter(this);

    cmdEdit_->setObjectName("CmdEdit");
    new KeyHandler(cmdEdit_, {{Qt::Key_Return, [this] { cmdEditEnter(); }},
                              {Qt::Key_Enter, [this] { cmdEditEnter(); }},
                              {Qt::Key_Escape, [this] { hide(); }}});

    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(new QLabel("Command:", this));
    commandRow->addWidget(cmdEdit_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(logMemo_, 1);
    layout->addWidget(cmdQueue_);
    layout->addLayout(commandRow);
    placeOnHomeScreenWhenShown(this, Placement::Keep);
}

// Lines are gathered and written on the next turn of the event loop, so a burst from the
// server costs one edit, one scroll and one layout of what is in view instead of one of
// each per line.
void ConsoleForm::addToLog(const LogEntry& entry) {
    if (pending_.empty()) {
        waitingSince_.start();
    }
    if (isVisible() && !writeTimer_.isActive()) {
        writeTimer_.start(0);
    }
    pending_.add(entry);
    // The log's oldest lines give way as waiting lines take their place, a batch at a time,
    // so that the log and the lines waiting for it together stay within about the limits.
    const std::size_t lines = loggedSizes_.size() + pending_.size();
    if (!loggedSizes_.empty() &&
        (lines > static_cast<std::size_t>(limits_.consoleLines) + kRoomBatchLines ||
         loggedBytes_ + pending_.bytes() > limits_.consoleBytes + kRoomBatchBytes)) {
        makeRoomInLog();
    }
}

void ConsoleForm::takeEarlyLines(PendingLog&& early) {
    pending_ = std::move(early);
    waitingSince_.start();
}

// Drops the log's oldest lines until they and the waiting lines fit in both limits.
void ConsoleForm::makeRoomInLog() {
    std::size_t lineCount = loggedSizes_.size() + pending_.size();
    std::size_t bytes = loggedBytes_ + pending_.bytes();
    std::size_t dropping = 0;
    while (dropping < loggedSizes_.size() &&
           (lineCount > static_cast<std::size_t>(limits_.consoleLines) ||
            bytes > limits_.consoleBytes)) {
        bytes -= loggedSizes_[dropping];
        --lineCount;
        ++dropping;
    }
    dropOldestLines(static_cast<int>(dropping));
}

// Every line of a flood written now would be laid out and then pushed out of the log by
// the flood's later lines; waiting, the later lines push the earlier ones out of the
// pending list, where that costs nothing.
void ConsoleForm::writeDue() {
    if (!isVisible()) {
        return;  // written when shown
    }
    const bool stillComing = pending_.linesAdded() != linesAtLastLook_;
    linesAtLastLook_ = pending_.linesAdded();
    if (pending_.size() > kFloodLines && stillComing &&
        waitingSince_.elapsed() < kMostFloodWaitMs) {
        writeTimer_.start(kFloodPauseMs);
        return;
    }
    writePendingLog();
}

int ConsoleForm::keptLines() const {
    return static_cast<int>(loggedSizes_.size() + pending_.size());
}

void ConsoleForm::showEvent(QShowEvent* event) {
    writePendingLog();
    QWidget::showEvent(event);
}

// The text goes in literally (a server line may look like markup) with its colour, through
// a cursor of our own so that whatever the user has selected keeps its colours. The view
// follows the end only when it is already there; a reader further up keeps the lines in
// view while the oldest ones beyond the limit are dropped.
void ConsoleForm::writePendingLog() {
    writeTimer_.stop();
    if (pending_.empty()) {
        return;  // already written
    }
    QScrollBar* bar = logMemo_->verticalScrollBar();
    const bool followEnd = bar->value() == bar->maximum();
    makeRoomInLog();  // the oldest lines go until the new ones fit
    const bool flood = pending_.size() > kFloodLines;
    appendToLog(pending_.take());
    if (followEnd) {
        bar->setValue(bar->maximum());
    }
    if (flood) {
        returnFreePagesToTheSystem();  // of the flood's lines, and of the log's dropped ones
    }
}

void ConsoleForm::appendToLog(std::deque<PendingLog::Line> lines) {
    QTextDocument* document = logMemo_->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    bool firstLine = document->isEmpty();
    QTextCharFormat colour;
    // Each line is freed as it goes in, so a flood is never held twice.
    for (; !lines.empty(); lines.pop_front()) {
        const PendingLog::Line& line = lines.front();
        if (!firstLine) {
            cursor.insertBlock();
        }
        firstLine = false;
        colour.setForeground(QColor(line.colour.red, line.colour.green, line.colour.blue));
        cursor.insertText(shownText(line.text, limits_.shownLineBytes), colour);
        loggedSizes_.push_back(line.bytes);
        loggedBytes_ += line.bytes;
    }
    cursor.endEditBlock();
}

// The document would drop lines beyond its limit too, but it lays out every line it drops;
// selecting them by position lays out none. A reader further up keeps the lines in view.
void ConsoleForm::dropOldestLines(int count) {
    if (count <= 0) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        loggedBytes_ -= loggedSizes_.front();
        loggedSizes_.pop_front();
    }
    QScrollBar* bar = logMemo_->verticalScrollBar();
    const int readingAt = bar->value();
    QTextDocument* document = logMemo_->document();
    QTextCursor oldest(document);
    if (count < document->blockCount()) {
        oldest.setPosition(document->findBlockByNumber(count).position(), QTextCursor::KeepAnchor);
    } else {
        oldest.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    oldest.removeSelectedText();
    bar->setValue(readingAt - count);
}

bool ConsoleForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdQueue_ && event->type() == QEvent::Resize) {
        cmdQueue_->setColumnWidth(0, cmdQueue_->width() - kColumnInset);
    }
    return QWidget::eventFilter(watched, event);
}

void ConsoleForm::cmdEditEnter() {
    if (cmdEdit_->text().isEmpty()) {
        return;
    }
    queue_.putFront(cmdEdit_->text().toStdString(), mark::kConsole);
    cmdEdit_->clear();
}

}  // namespace tesk
