#pragma once

#include <QMainWindow>

#include "connection/ConnectionView.h"
#include "watch/UserUpdate.h"

class QTextEdit;
class QToolButton;
class QTreeView;

namespace tesk {

class WatchListModel;

// The main window: the watch list, the connection status and the received server lines.
// The tray icon, menus and the other windows attach here as they are built.
class TMainForm : public QMainWindow,
                  public ConnectionView,
                  public ServerLineHandlers,
                  public OnlineAnnouncer {
    Q_OBJECT
public:
    explicit TMainForm(WatchListModel& watchList, QWidget* parent = nullptr);

    // ConnectionView
    void showStatus(const StatusDisplay& display) override;
    std::vector<std::string> namesToPoll() override;
    void resetWatchRows() override;
    void showError(const std::string& message) override;

    // ServerLineHandlers
    void AddToLog(const LogEntry& entry) override;
    void UpdateUser(ReaderState& state) override;
    void UpdateStats(ReaderState& state) override;
    void HandleWhisperLine(const std::string& line) override;

    // OnlineAnnouncer
    void announceOnline(const std::string& name) override;


private:
    WatchListModel& watchList_;
    QTreeView* userList_;
    QToolButton* statusButton_;
    QTextEdit* logMemo_;
};

}  // namespace tesk
