#pragma once

#include <QGuiApplication>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "connection/ConnectionStatus.h"
#include "connection/StatusCommands.h"
#include "session/SessionView.h"
#include "ui/ErrorBoxes.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeView;
class QUrl;

namespace tesk {

class Conversations;
class DesktopNotices;
class IniFile;
class Pinger;
class Session;
class TrayNotifier;
class WatchListModel;

// The main window: the watch list between the toolbars, the status button, the "User"
// and "Program" menus, and the tray menu. Closing it only hides it until the exit flag
// is set; then it goes offline, saves the watch list, its geometry and the toolbar layout
// and ends the program. It shows the session's status, errors and notices.
class MainForm : public QMainWindow, public SessionView {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    MainForm(Session& session, TrayNotifier& tray, QString iniPath, QWidget* parent = nullptr);
    ~MainForm() override;

    void attachConversations(Conversations* conversations) { conversations_ = conversations; }
    void attachPing(Pinger* ping) { ping_ = ping; }
    void attachNotices(DesktopNotices* notices) { notices_ = notices; }

    // The pinger's display: the label and the tray tip's " (...) " part.
    void showPing(const std::string& pingText);
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    // The other windows, opened by the menus and the list.
    struct WindowOpeners {
        std::function<void()> addUser;
        std::function<void()> settings;
        std::function<void()> console;
        std::function<void()> about;
        std::function<void()> heldMessages;
    };
    void setWindowOpeners(WindowOpeners openers) { openers_ = std::move(openers); }
    void setLogSink(std::function<void(const LogEntry&)> sink) { logSink_ = std::move(sink); }

    // The exit flag: while it is clear, closing the window only hides it.
    void setExitFlag(bool on) { exitFlag_ = on; }
    // Without a tray icon a hidden window could not be brought back: closing then exits.
    void setHideOnClose(bool on) { hideOnClose_ = on; }
    bool exitFlag() const { return exitFlag_; }
    // The tray menu's Exit: when Tesk.ini cannot be written it says so and stays open.
    void exitProgram();
    // SIGTERM, SIGINT, SIGHUP and the session's end: always ends the program; when Tesk.ini
    // cannot be written the error goes to stderr and the console, and the watch list to
    // the recovery copy.
    void endProgram();
    void setRecoveryPath(const QString& path) { recoveryPath_ = path; }
    // Every error box of the program's own (the connection's, the ping's), one at a time.
    ErrorBoxes& errorBoxes() { return errorBoxes_; }
    // Wayland tells no window its position: exit then keeps the stored one.
    void setPositionKnown(bool known) { positionKnown_ = known; }

    void showWindow();
    void hideWindow();

    void loadToolbarLayout(const IniFile& ini);
    void saveToolbarLayout(IniFile& ini) const;

    QString statusCaption() const;
    QMenu* trayMenu() const { return trayMenu_; }
    // The tray menu's "Held messages (n)…", shown while whispers are held.
    void showHeldMessages(std::size_t count);
    QMenu* userMenu() const { return userMenu_; }
    QMenu* statusMenu() const { return statusMenu_; }
    QTreeView* userList() const { return userList_; }
    QToolBar* pingToolbar() const { return pingToolbar_; }

    void chooseStatus(StatusChoice choice);

    // SessionView: the status button and tray tip, error boxes, the console, tray and
    // desktop notices.
    void showStatus(const StatusDisplay& display) override;
    void showError(const std::string& message) override;
    void showNote(const std::string& text) override;
    void showLog(const LogEntry& entry) override;
    void announceOnline(const std::string& name) override;

signals:
    void closedToTray();  // closing the window hid it and TESK goes on

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static void open(const std::function<void()>& opener);
    void buildToolbars();
    void buildUserMenu();
    void buildProgramMenu();
    void buildStatusMenu();
    void buildTrayMenu();
    void buildUserList();

    std::vector<int> selectedRows() const;
    std::string firstSelectedName() const;
    void userListSelectionChanged();
    void userListClick();
    void deleteSelected();
    void openChatForSelection();
    void requestStats(const std::vector<const char*>& codes);
    void openPlayerProfile();
    void pingToolbarVisibleChanged(bool visible);
    bool saveOnExit();
    void reportUnsavedExit();
    void showErrorBox(const QString& caption, const QString& text);

    Session& session_;
    WatchListModel& watchList_;
    TrayNotifier& tray_;
    const QString iniPath_;
    QString recoveryPath_;
    Conversations* conversations_ = nullptr;
    Pinger* ping_ = nullptr;
    DesktopNotices* notices_ = nullptr;
    UrlOpener openUrl_;
    WindowOpeners openers_;
    std::function<void(const LogEntry&)> logSink_;
    ErrorBoxes errorBoxes_;
    bool exitFlag_ = true;
    bool hideOnClose_ = true;
    bool endingAnyway_ = false;  // set by endProgram
    bool positionKnown_ = !QGuiApplication::platformName().startsWith("wayland");

    QToolBar* mainToolbar_ = nullptr;
    QToolBar* pingToolbar_ = nullptr;
    QToolBar* statusToolbar_ = nullptr;
    QLabel* pingLabel_ = nullptr;
    QToolButton* statusButton_ = nullptr;
    QTreeView* userList_ = nullptr;
    QMenu* userMenu_ = nullptr;
    QMenu* statsMenu_ = nullptr;
    QMenu* programMenu_ = nullptr;
    QMenu* statusMenu_ = nullptr;
    QMenu* trayMenu_ = nullptr;

    QAction* heldAction_ = nullptr;
    QAction* chatAction_ = nullptr;
    QAction* statsAction_ = nullptr;
    std::vector<QAction*> warcraftIIIActions_;  // its product
    std::vector<QAction*> otherGameActions_;    // the other products and "All"
    QAction* profileAction_ = nullptr;
    QAction* awayAction_ = nullptr;
    QAction* dndAction_ = nullptr;
    QAction* showPingAction_ = nullptr;
};

}  // namespace tesk
