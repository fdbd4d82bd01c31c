#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <deque>

#include "connection/ServerEvent.h"
#include "ui/PendingLog.h"
#include "watch/RemoteTextLimits.h"

class QLineEdit;
class QPlainTextEdit;
class QTreeView;

namespace tesk {

class CommandQueue;

// The console: every received server line, coloured and time-stamped, the commands
// waiting to be sent, and a command line that puts typed commands at the front of the
// queue. Made when first opened (given the lines that came before), it then lives for the
// rest of the run and keeps logging while hidden; closing it only hides it. Lines appear on the
// next turn of the event loop; while the console is hidden they wait (the newest of them, within
// the log's limits) and are written when it is shown, because the log's text view keeps a layout
// for every line it was handed one at a time. A flood waits too, until it pauses, so that the log
// takes in only the lines that remain. The log keeps at most the limits' lines and bytes, each line
// cut to its shown length.
class ConsoleForm : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleForm(CommandQueue& queue, const RemoteTextLimits& limits = {},
                         QWidget* parent = nullptr);
    void addToLog(const LogEntry& entry);
    // The lines that came before the console was made, to be written when it is shown.
    void takeEarlyLines(PendingLog&& early);

    // What the log holds and waits to write, in lines and bytes.
    int keptLines() const;
    std::size_t keptBytes() const { return loggedBytes_ + pending_.bytes(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // More lines than this waiting at once are a flood; fewer are written on the next turn.
    static constexpr std::size_t kFloodLines = 256;
    // A flood is written once no line has come for kFloodPauseMs, and at the latest after
    // kMostFloodWaitMs, so that a long one still moves.
    static constexpr int kFloodPauseMs = 10;
    static constexpr int kMostFloodWaitMs = 1000;
    // How far the log and the waiting lines may go beyond the limits before the log's
    // oldest lines are dropped in one edit.
    static constexpr std::size_t kRoomBatchLines = 4096;
    static constexpr std::size_t kRoomBatchBytes = 1024 * 1024;

    void cmdEditEnter();
    void writeDue();
    void writePendingLog();
    void appendToLog(std::deque<PendingLog::Line> lines);
    void makeRoomInLog();
    void dropOldestLines(int count);

    CommandQueue& queue_;
    const RemoteTextLimits limits_;
    QPlainTextEdit* logMemo_;
    QTreeView* cmdQueue_;
    QLineEdit* cmdEdit_;
    PendingLog pending_;
    QTimer writeTimer_;
    QElapsedTimer waitingSince_;  // since the first pending line came
    std::uint64_t linesAtLastLook_ = 0;
    std::deque<std::size_t> loggedSizes_;  // of the lines in the log, oldest first
    std::size_t loggedBytes_ = 0;
};

}  // namespace tesk
