#include "ui/TConsoleForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTreeView>
#include <QVBoxLayout>

#include "connection/CommandQueue.h"
#include "ui/CommandQueueModel.h"
#include "ui/KeyHandler.h"

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

TConsoleForm::TConsoleForm(CommandQueue& queue, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      queue_(queue),
      logMemo_(new QPlainTextEdit(this)),
      cmdQueue_(new QTreeView(this)),
      cmdEdit_(new QLineEdit(this)) {
    setObjectName("ConsoleForm");
    setWindowTitle("Console");
    setMinimumSize(300, 300);
    resize(498, 378);

    // A plain-text document keeps appending cheap when the oldest line has to go, and
    // keeps the lines a reader has scrolled to in place meanwhile.
    logMemo_->setObjectName("LogMemo");
    logMemo_->setReadOnly(true);
    logMemo_->setFrameShape(QFrame::NoFrame);
    logMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logMemo_->setMaximumBlockCount(kMaxLogLines);
    styleLog(logMemo_);

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
    new KeyHandler(cmdEdit_, {{Qt::Key_Return, [this] { CmdEditEnter(); }},
                              {Qt::Key_Enter, [this] { CmdEditEnter(); }},
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
}

// appendPlainText takes the text literally (a server line may look like markup), follows
// the end only when the view is already there, and drops the oldest line beyond the limit
// without moving the lines in view. The colour goes onto the new line afterwards; the
// current format would also recolour whatever the user has selected.
void TConsoleForm::AddToLog(const LogEntry& entry) {
    logMemo_->appendPlainText(QString::fromStdString(entry.text));
    QTextCursor line(logMemo_->document()->lastBlock());
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat colour;
    colour.setForeground(QColor(entry.colour.red, entry.colour.green, entry.colour.blue));
    line.setCharFormat(colour);
}

bool TConsoleForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmdQueue_ && event->type() == QEvent::Resize) {
        cmdQueue_->setColumnWidth(0, cmdQueue_->width() - kColumnInset);
    }
    return QWidget::eventFilter(watched, event);
}

void TConsoleForm::CmdEditEnter() {
    if (cmdEdit_->text().isEmpty()) {
        return;
    }
    queue_.putFront(cmdEdit_->text().toStdString(), mark::kConsole);
    cmdEdit_->clear();
}

}  // namespace tesk
