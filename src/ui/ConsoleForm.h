#pragma once

#include <QWidget>
#include <deque>

#include "connection/ConnectionView.h"

class QLineEdit;
class QPlainTextEdit;
class QTreeView;

namespace tesk {

class CommandQueue;

// The console: every received server line, coloured and time-stamped, the commands
// waiting to be sent, and a command line that puts typed commands at the front of the
// queue. It exists for the whole run and keeps logging while hidden; closing it only
// hides it. Lines appear on the next turn of the event loop; while the console is hidden
// they wait (the newest kMaxLogLines of them) and are written when it is shown, because
// the log's text view keeps a layout for every line it was handed one at a time.
class ConsoleForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLogLines = 50000;

    explicit ConsoleForm(CommandQueue& queue, QWidget* parent = nullptr);
    void addToLog(const LogEntry& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static constexpr std::size_t kMostPendingLines = 4096;

    void cmdEditEnter();
    void writePendingLog();
    void dropOldestLines(int count);

    CommandQueue& queue_;
    QPlainTextEdit* logMemo_;
    QTreeView* cmdQueue_;
    QLineEdit* cmdEdit_;
    std::deque<LogEntry> pendingLog_;
};

}  // namespace tesk
