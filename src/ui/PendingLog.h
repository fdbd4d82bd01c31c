#pragma once

#include <QColor>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "connection/ServerEvent.h"
#include "watch/RemoteTextLimits.h"

namespace tesk {

// Server lines on their way to the console's log, as they will be shown: the newest of
// them within the log's limits, since older ones would be pushed out of it at once. It
// also holds the lines that come before the console is first opened.
class PendingLog {
public:
    struct Line {
        QString text;  // cut to the shown length
        QColor colour;
        std::size_t bytes;  // of the server's text that the line shows
    };

    explicit PendingLog(const RemoteTextLimits& limits = {});

    void add(const LogEntry& entry);
    std::deque<Line> take();

    bool empty() const { return lines_.empty(); }
    std::size_t size() const { return lines_.size(); }
    std::size_t bytes() const { return bytes_; }
    std::uint64_t linesAdded() const { return linesAdded_; }  // ever, so that a pause shows

private:
    RemoteTextLimits limits_;
    std::deque<Line> lines_;
    std::size_t bytes_ = 0;
    std::uint64_t linesAdded_ = 0;
};

}  // namespace tesk
