#include "ui/MainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <cstdio>

#include "connection/GatewayDialect.h"
#include "connection/Protocol.h"
#include "connection/ServerLine.h"
#include "ping/PingTip.h"
#include "ping/Pinger.h"
#include "platform/GuiThread.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/WindowLayout.h"
#include "ui/Conversations.h"
#include "ui/DesktopNotices.h"
#include "ui/ImageList.h"
#include "ui/KeyHandler.h"
#include "ui/ScreenPlacement.h"
#include "ui/StatePictures.h"
#include "ui/TaskbarHint.h"
#include "ui/TrayNotifier.h"
#include "ui/WatchListIcons.h"
#include "watch/FriendNotices.h"
#include "watch/Products.h"
#include "watch/RecoveryCopy.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"
#include "watch/UserCommands.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

namespace tesk {

namespace {

QAction* addEntry(QMenu* menu, const QString& caption, int image = -1) {
    QAction* action = menu->addAction(caption);
    if (image >= 0) {
        action->setIcon(images::icon(image));
    }
    return action;
}

QToolButton* dropDownButton(QToolBar* toolbar, QMenu* menu, int image, const QString& hint) {
    auto* button = new QToolButton(toolbar);
    button->setIcon(images::icon(image));
    button->setToolTip(hint);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    toolbar->addWidget(button);
    return button;
}

}  // namespace

MainForm::MainForm(Session& session, TrayNotifier& tray, QString iniPath, QWidget* parent)
    : QMainWindow(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      session_(session),
      watchList_(session.watchList()),
      tray_(tray),
      iniPath_(std::move(iniPath)),
      openUrl_([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      errorBoxes_(
          [this](const QString& caption, const QString& text) { showErrorBox(caption, text); }) {
    setObjectName("MainForm");
    setWindowTitle("TESK");
    setWindowIcon(images::applicationIcon());
    setContextMenuPolicy(Qt::PreventContextMenu);  // toolbars are switched by their own commands
    placeOnHomeScreenWhenShown(this, Placement::Keep);
    buildUserMenu();
    buildProgramMenu();
    buildStatusMenu();
    buildTrayMenu();
    buildToolbars();
    buildUserList();
}

MainForm::~MainForm() = default;

void MainForm::open(const std::function<void()>& opener) {
    if (opener) {
        opener();
    }
}

void MainForm::buildUserMenu() {
    userMenu_ = new QMenu("User", this);
    chatAction_ = addEntry(userMenu_, "Chat", images::kEnvelope);
    QFont bold = chatAction_->font();
    bold.setBold(true);
    chatAction_->setFont(bold);
    chatAction_->setVisible(false);
    connect(chatAction_, &QAction::triggered, this, &MainForm::openChatForSelection);

    statsMenu_ = new QMenu("Statistics", this);
    statsMenu_->setIcon(images::icon(images::kMagnifier));
    for (const Product& product : kProducts) {
        QAction* action = addEntry(statsMenu_, product.caption);
        connect(action, &QAction::triggered, this,
                [this, code = product.code] { requestStats({code}); });
        (product.warcraftIII ? warcraftIIIActions_ : otherGameActions_).push_back(action);
    }
    statsMenu_->addSeparator();
    QAction* all = addEntry(statsMenu_, "All");
    connect(all, &QAction::triggered, this, [this] { requestStats(allStatsCodes()); });
    otherGameActions_.push_back(all);
    profileAction_ = addEntry(statsMenu_, "Player profile");
    statsAction_ = userMenu_->addMenu(statsMenu_);
    statsAction_->setVisible(false);
    connect(profileAction_, &QAction::triggered, this, &MainForm::openPlayerProfile);

    userMenu_->addSeparator();
    QAction* add = addEntry(userMenu_, "Add", images::kSheet);
    add->setShortcut(QKeySequence("Ctrl+N"));
    connect(add, &QAction::triggered, this, [this] { open(openers_.addUser); });
    QAction* remove = addEntry(userMenu_, "Delete", images::kBin);
    connect(remove, &QAction::triggered, this, &MainForm::deleteSelected);
    addActions({add});
}

void MainForm::buildProgramMenu() {
    programMenu_ = new QMenu("Program", this);
    QAction* settings = addEntry(programMenu_, "Settings...", images::kCheckList);
    settings->setShortcut(QKeySequence("Ctrl+S"));
    connect(settings, &QAction::triggered, this, [this] { open(openers_.settings); });
    QAction* console = addEntry(programMenu_, "Console...", images::kGlobeScreen);
    console->setShortcut(QKeySequence("Ctrl+Q"));
    connect(console, &QAction::triggered, this, [this] { open(openers_.console); });
    showPingAction_ = addEntry(programMenu_, "Show Ping");
    showPingAction_->setCheckable(true);
    programMenu_->addSeparator();
    QAction* about = addEntry(programMenu_, "About...", images::kInfo);
    about->setShortcut(QKeySequence("F1"));
    connect(about, &QAction::triggered, this, [this] { open(openers_.about); });
    addActions({settings, console, about});
}

void MainForm::buildStatusMenu() {
    statusMenu_ = new QMenu("Status", this);
    QAction* online = addEntry(statusMenu_, "Online", pictureFor(ConnectionStatus::Online));
    awayAction_ = addEntry(statusMenu_, "Away", pictureFor(ConnectionStatus::Away));
    dndAction_ = addEntry(statusMenu_, "DND", pictureFor(ConnectionStatus::Dnd));
    statusMenu_->addSeparator()->setVisible(false);
    QAction* offline = addEntry(statusMenu_, "Offline", pictureFor(ConnectionStatus::Offline));
    connect(online, &QAction::triggered, this, [this] { chooseStatus(StatusChoice::Online); });
    connect(awayAction_, &QAction::triggered, this, [this] { chooseStatus(StatusChoice::Away); });
    connect(dndAction_, &QAction::triggered, this, [this] { chooseStatus(StatusChoice::Dnd); });
    connect(offline, &QAction::triggered, this, [this] { chooseStatus(StatusChoice::Offline); });
    // Modes need an account: anonymous users are offered only Online and Offline.
    connect(statusMenu_, &QMenu::aboutToShow, this, [this] {
        const bool anonymous = session_.settings().snapshot().anonymous;
        awayAction_->setVisible(!anonymous);
        dndAction_->setVisible(!anonymous);
    });
}

void MainForm::buildTrayMenu() {
    trayMenu_ = new QMenu(this);
    QAction* restore = trayMenu_->addAction("Restore");
    QFont bold = restore->font();
    bold.setBold(true);
    restore->setFont(bold);
    trayMenu_->setDefaultAction(restore);
    QAction* minimize = trayMenu_->addAction("Minimize");
    heldAction_ = trayMenu_->addAction(QString());
    heldAction_->setVisible(false);
    connect(heldAction_, &QAction::triggered, this, [this] { open(openers_.heldMessages); });
    trayMenu_->addSeparator();
    QAction* exit = trayMenu_->addAction("Exit");
    connect(restore, &QAction::triggered, this, &MainForm::showWindow);
    connect(minimize, &QAction::triggered, this, &MainForm::hideWindow);
    connect(exit, &QAction::triggered, this, &MainForm::exitProgram);
}

void MainForm::showHeldMessages(std::size_t count) {
    heldAction_->setText(QString("Held messages (%1)\u2026").arg(count));
    heldAction_->setVisible(count > 0);
}

void MainForm::buildToolbars() {
    mainToolbar_ = new QToolBar("MainToolbar", this);
    mainToolbar_->setObjectName("MainToolbar");
    mainToolbar_->setFloatable(false);
    dropDownButton(mainToolbar_, userMenu_, images::kUser, "User");
    dropDownButton(mainToolbar_, programMenu_, images::kTools, "Program");
    addToolBar(Qt::TopToolBarArea, mainToolbar_);

    pingToolbar_ = new QToolBar("PingToolbar", this);
    pingToolbar_->setObjectName("PingToolbar");
    pingToolbar_->setFloatable(false);
    pingLabel_ = new QLabel("...", pingToolbar_);
    pingLabel_->setObjectName("PingLabel");
    pingToolbar_->addWidget(pingLabel_);
    addToolBar(Qt::TopToolBarArea, pingToolbar_);
    pingToolbar_->hide();
    // "Show Ping" is the one switch of the ping toolbar (restoring the layout uses it too).
    connect(showPingAction_, &QAction::toggled, this, [this](bool on) {
        pingToolbar_->setVisible(on);
        pingToolbarVisibleChanged(on);
    });

    statusToolbar_ = new QToolBar("StatusToolbar", this);
    statusToolbar_->setObjectName("StatusToolbar");
    statusToolbar_->setFloatable(false);
    statusButton_ = new QToolButton(statusToolbar_);
    statusButton_->setObjectName("StatusButton");
    statusButton_->setMenu(statusMenu_);
    statusButton_->setPopupMode(QToolButton::InstantPopup);
    statusButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    statusToolbar_->setIconSize(QSize(16, 16));
    statusButton_->setText("Offline");
    statusButton_->setIcon(images::icon(pictureFor(ConnectionStatus::Offline)));
    statusToolbar_->addWidget(statusButton_);
    addToolBar(Qt::BottomToolBarArea, statusToolbar_);
}

void MainForm::buildUserList() {
    userList_ = new QTreeView(this);
    userList_->setObjectName("UserList");
    auto* display = new WatchListIcons(this);
    display->setSourceModel(&watchList_);
    userList_->setModel(display);
    userList_->setRootIsDecorated(false);
    // Every row is one picture and one name high; the view then need not measure a row
    // each time a reply changes it.
    userList_->setUniformRowHeights(true);
    userList_->setHeaderHidden(true);
    userList_->setFrameShape(QFrame::NoFrame);
    userList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    userList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    userList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int column = WatchListModel::Place; column < WatchListModel::NumberOfColumns; ++column) {
        userList_->setColumnHidden(column, true);
    }
    userList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(userList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { userMenu_->popup(userList_->viewport()->mapToGlobal(at)); });
    connect(userList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainForm::userListSelectionChanged);
    connect(userList_, &QTreeView::clicked, this, &MainForm::userListClick);
    // Enter and a double click open the chat also while the "Chat" entry is hidden.
    connect(userList_, &QTreeView::doubleClicked, this, &MainForm::openChatForSelection);
    new KeyHandler(userList_, {{Qt::Key_Return, [this] { openChatForSelection(); }},
                               {Qt::Key_Enter, [this] { openChatForSelection(); }},
                               {Qt::Key_Delete, [this] { deleteSelected(); }}});
    setCentralWidget(userList_);
}

std::vector<int> MainForm::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : userList_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::string MainForm::firstSelectedName() const {
    const std::vector<int> rows = selectedRows();
    return rows.empty() ? std::string() : watchList_.row(rows.front()).name;
}

void MainForm::userListSelectionChanged() {
    const bool pvpgn = session_.dialect().type() == ServerType::PvPGN;
    const UserMenuState menu =
        userMenuFor(static_cast<int>(selectedRows().size()), session_.status(),
                    session_.settings().snapshot().anonymous, firstSelectedName(), pvpgn);
    chatAction_->setVisible(menu.chat);
    statsAction_->setVisible(menu.statistics);
    if (menu.statistics) {
        for (QAction* action : warcraftIIIActions_) {
            action->setVisible(menu.warcraftIII);
        }
        for (QAction* action : otherGameActions_) {
            action->setVisible(menu.otherGames);
        }
        profileAction_->setVisible(menu.profile);
    }
}

void MainForm::userListClick() {
    if (selectedRows().size() == 1 && !isOffline(session_.status())) {
        session_.queueFront(protocol::kWhoisPrefix + firstSelectedName());
    }
}

void MainForm::openChatForSelection() {
    if (conversations_ != nullptr && !selectedRows().empty()) {
        conversations_->openChat(firstSelectedName());
    }
}

void MainForm::deleteSelected() {
    watchList_.removeRowsAt(selectedRows());
}

void MainForm::requestStats(const std::vector<const char*>& codes) {
    const std::string name = firstSelectedName();
    if (selectedRows().empty()) {
        return;
    }
    for (const char* code : codes) {
        session_.queueFront(statsCommand(name, code));
    }
}

void MainForm::openPlayerProfile() {
    if (!selectedRows().empty()) {
        openUrl_(QUrl(playerProfileUrl(firstSelectedName()), QUrl::StrictMode));
    }
}

void MainForm::chooseStatus(StatusChoice choice) {
    session_.chooseStatus(choice);
}

void MainForm::pingToolbarVisibleChanged(bool visible) {
    if (visible && ping_ != nullptr && ping_->isAsleep()) {
        ping_->setToolbarVisible(true);
        return;
    }
    if (ping_ != nullptr) {
        ping_->setToolbarVisible(visible);
    }
    tray_.showStatusTip();
    pingLabel_->setText("...");
}

void MainForm::showPing(const std::string& pingText) {
    TESK_ASSERT_GUI_THREAD();
    pingLabel_->setText(QString::fromStdString(pingText));
    tray_.setTip(QString::fromStdString(withPingPart(tray_.tip().toStdString(), pingText)));
}

QString MainForm::statusCaption() const {
    return statusButton_->text();
}

void MainForm::showWindow() {
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void MainForm::hideWindow() {
    hide();
}

void MainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    keepOutOfTaskbar(this);  // a tray program has no task bar button
    tray_.showStatusTip();
}

void MainForm::exitProgram() {
    exitFlag_ = true;
    close();
}

void MainForm::endProgram() {
    endingAnyway_ = true;
    exitProgram();
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (!exitFlag_ && hideOnClose_) {
        event->ignore();
        hideWindow();
        emit closedToTray();
        return;
    }
    exitFlag_ = true;
    session_.goOffline();
    if (!saveOnExit()) {
        if (!endingAnyway_) {
            QMessageBox::critical(this, "Error", IniFile::unableToWriteMessage(iniPath_));
            event->ignore();  // nothing is lost: the user can free the file and exit again
            return;
        }
        reportUnsavedExit();
    }
    tray_.remove();
    event->accept();
    // Quitting closes every window; chat windows must not take that for the user's close.
    if (conversations_) {
        conversations_->discardWindows();
    }
    QCoreApplication::quit();
}

bool MainForm::saveOnExit() {
    IniFile ini(iniPath_);
    writeWatchedNames(ini, watchList_.names());
    writeLastSeen(ini, watchList_.sightings());
    MainFormGeometry geometry{width(), height(), x(), y()};
    if (!positionKnown_) {
        const MainFormGeometry stored = readMainFormGeometry(ini);
        geometry.left = stored.left;
        geometry.top = stored.top;
    }
    writeMainFormGeometry(ini, geometry);
    saveToolbarLayout(ini);
    if (!ini.flush()) {
        return false;
    }
    retireRecoveryCopy(recoveryPath_);
    return true;
}

// Nobody is there to answer a box: the old file stays as it was, and the watch list goes
// where the next start finds it.
void MainForm::reportUnsavedExit() {
    const std::string report = keepUnsavedWatchList(iniPath_, recoveryPath_, watchList_.names());
    std::fprintf(stderr, "tesk: %s\n", report.c_str());
    showNote(report);
}

void MainForm::loadToolbarLayout(const IniFile& ini) {
    for (QToolBar* toolbar : {mainToolbar_, pingToolbar_, statusToolbar_}) {
        const auto layout =
            readToolbarLayout(ini, toolbar->objectName().toStdString(), !toolbar->isHidden());
        if (!layout) {
            continue;
        }
        if (layout->dockedTo == "TopDock" || layout->dockedTo == "BottomDock") {
            const Qt::ToolBarArea area =
                layout->dockedTo == "TopDock" ? Qt::TopToolBarArea : Qt::BottomToolBarArea;
            if (area != toolBarArea(toolbar)) {
                addToolBar(area, toolbar);
            }
        }
        if (toolbar == pingToolbar_) {
            showPingAction_->setChecked(layout->visible);
        } else {
            toolbar->setVisible(layout->visible);
        }
    }
}

void MainForm::saveToolbarLayout(IniFile& ini) const {
    for (QToolBar* toolbar : {mainToolbar_, pingToolbar_, statusToolbar_}) {
        ToolbarLayout layout;
        layout.visible = !toolbar->isHidden();
        layout.dockedTo = toolBarArea(toolbar) == Qt::BottomToolBarArea ? "BottomDock" : "TopDock";
        layout.lastDock = layout.dockedTo;
        layout.dockPos = toolbar->x();
        writeToolbarLayout(ini, toolbar->objectName().toStdString(), layout);
    }
}

void MainForm::showStatus(const StatusDisplay& display) {
    TESK_ASSERT_GUI_THREAD();
    statusButton_->setText(QString::fromStdString(display.caption));
    statusButton_->setIcon(images::icon(pictureFor(display.status)));
    // The tip may say more than the button: why a retry waits.
    tray_.setStatus(
        QString::fromStdString(display.tipCaption.empty() ? display.caption : display.tipCaption));
    tray_.showStatusTip();
}

void MainForm::showError(const std::string& message) {
    TESK_ASSERT_GUI_THREAD();
    errorBoxes_.show("Error", QString::fromStdString(message));
}

// Plain text: a connection message may one day quote what the server said.
void MainForm::showErrorBox(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                    isVisible() ? this : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainForm::showNote(const std::string& text) {
    TESK_ASSERT_GUI_THREAD();
    const QTime now = QTime::currentTime();
    showLog({timeStampedLogText(text, now.hour(), now.minute()), kNoteColour});
}

void MainForm::showLog(const LogEntry& entry) {
    TESK_ASSERT_GUI_THREAD();
    if (logSink_) {
        logSink_(entry);
    }
}

void MainForm::announceOnline(const std::string& name) {
    TESK_ASSERT_GUI_THREAD();
    tray_.announceOnline(shownText(name, RemoteTextLimits::kShownLineBytes));
    const int row = watchList_.find(name);
    if (notices_ != nullptr && row >= 0) {
        notices_->userOnline(name, watchList_.row(row).user);
    }
}

}  // namespace tesk
