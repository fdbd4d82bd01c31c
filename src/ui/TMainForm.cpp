#include "ui/TMainForm.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QSplitter>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "ui/ImageList.h"
#include "ui/WatchListIcons.h"
#include "watch/WatchListModel.h"

namespace tesk {

TMainForm::TMainForm(WatchListModel& watchList, QWidget* parent)
    : QMainWindow(parent),
      watchList_(watchList),
      userList_(new QTreeView(this)),
      statusButton_(new QToolButton(this)),
      logMemo_(new QTextEdit(this)) {
    setWindowTitle("TESK");

    auto* statusToolbar = new QToolBar("StatusToolbar", this);
    statusToolbar->setObjectName("StatusToolbar");
    statusToolbar->setMovable(false);
    statusButton_->setObjectName("StatusButton");
    statusButton_->setText("Offline");
    statusButton_->setIcon(images::icon(image::kOffline));
    statusButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setWindowIcon(images::applicationIcon());
    statusToolbar->addWidget(statusButton_);
    addToolBar(Qt::BottomToolBarArea, statusToolbar);

    userList_->setObjectName("UserList");
    auto* icons = new WatchListIcons(this);
    icons->setSourceModel(&watchList_);
    userList_->setModel(icons);
    userList_->setRootIsDecorated(false);
    userList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    userList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    userList_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    logMemo_->setObjectName("LogMemo");
    logMemo_->setReadOnly(true);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(userList_);
    splitter->addWidget(logMemo_);
    setCentralWidget(splitter);
}

void TMainForm::showStatus(const StatusDisplay& display) {
    statusButton_->setText(QString::fromStdString(display.caption));
    statusButton_->setIcon(images::icon(display.image));
}

std::vector<std::string> TMainForm::namesToPoll() {
    return watchList_.namesToPoll();
}

void TMainForm::resetWatchRows() {
    watchList_.resetAll();
}

void TMainForm::showError(const std::string& message) {
    QMessageBox::critical(this, "Error", QString::fromStdString(message));
}

void TMainForm::AddToLog(const LogEntry& entry) {
    logMemo_->setTextColor(QColor(entry.colour.red, entry.colour.green, entry.colour.blue));
    logMemo_->append(QString::fromStdString(entry.text));
}

void TMainForm::UpdateUser(ReaderState& state) {
    tesk::UpdateUser(watchList_, state, *this);
}

void TMainForm::announceOnline(const std::string& name) {
    statusButton_->setToolTip(QString::fromStdString("TESK: User " + name + " is online"));
}
void TMainForm::UpdateStats(ReaderState&) {}
void TMainForm::HandleWhisperLine(const std::string&) {}

}  // namespace tesk
