#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "connection/ServerEvent.h"
#include "watch/RemoteTextLimits.h"

namespace tesk {

// Server lines on their way to the console's log: the newest of them within the log's
// limits, since older ones would be pushed out of it at once. It also holds the lines that
// come before the console is first opened. A line is kept as the server's bytes, only as
// many as will be shown, and made into shown text when it is written: a flood's lines
// mostly give way here, before any of that work.
class PendingLog {
public:
    struct Line {
        std::string text;  // enough of the server's text to tell where the shown part ends
        Rgb colour;
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
