#pragma once

#include <QColor>
#include <QWidget>
#include <deque>

#include "connection/ServerEvent.h"
#include "watch/RemoteTextLimits.h"

class QLineEdit;
class QPlainTextEdit;
class QTreeView;

namespace tesk {

class CommandQueue;

// The console: every received server line, coloured and time-stamped, the commands
// waiting to be sent, and a command line that puts typed commands at the front of the
// queue. It exists for the whole run and keeps logging while hidden; closing it only
// hides it. Lines appear on the next turn of the event loop; while the console is hidden
// they wait (the newest of them, within the log's limits) and are written when it is
// shown, because the log's text view keeps a layout for every line it was handed one at
// a time. The log keeps at most the limits' lines and bytes, each line cut to its
// shown length.
class ConsoleForm : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleForm(CommandQueue& queue, const RemoteTextLimits& limits = {},
                         QWidget* parent = nullptr);
    void addToLog(const LogEntry& entry);

    // What the log holds and waits to write, in lines and bytes.
    int keptLines() const;
    std::size_t keptBytes() const { return loggedBytes_ + pendingBytes_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    static constexpr std::size_t kMostPendingLines = 4096;

    struct ShownLine {
        QString text;
        QColor colour;
        std::size_t bytes;
    };

    void cmdEditEnter();
    void writePendingLog();
    void dropOldestLines(int count);

    CommandQueue& queue_;
    const RemoteTextLimits limits_;
    QPlainTextEdit* logMemo_;
    QTreeView* cmdQueue_;
    QLineEdit* cmdEdit_;
    std::deque<ShownLine> pendingLog_;
    std::size_t pendingBytes_ = 0;
    std::deque<std::size_t> loggedSizes_;  // of the lines in the log, oldest first
    std::size_t loggedBytes_ = 0;
};

}  // namespace tesk
