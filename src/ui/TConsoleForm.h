#pragma once

#include <QWidget>
#include <vector>

#include "connection/ConnectionView.h"

class QLineEdit;
class QPlainTextEdit;
class QTreeView;

namespace tesk {

class CommandQueue;

// The console: every received server line, coloured and time-stamped, the commands
// waiting to be sent, and a command line that puts typed commands at the front of the
// queue. Lines appear on the next turn of the event loop. It exists for the whole run and keeps
// logging while hidden; closing it only hides it.
class TConsoleForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLogLines = 50000;

    explicit TConsoleForm(CommandQueue& queue, QWidget* parent = nullptr);
    void AddToLog(const LogEntry& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr std::size_t kMostPendingLines = 4096;

    void CmdEditEnter();
    void writePendingLog();
    void dropOldestLines(int count);

    CommandQueue& queue_;
    QPlainTextEdit* logMemo_;
    QTreeView* cmdQueue_;
    QLineEdit* cmdEdit_;
    std::vector<LogEntry> pendingLog_;
};

}  // namespace tesk
