#include "ui/PendingLog.h"

#include <algorithm>
#include <utility>

namespace tesk {

PendingLog::PendingLog(const RemoteTextLimits& limits) : limits_(limits) {}

void PendingLog::add(const LogEntry& entry) {
    const std::size_t bytes = std::min(entry.text.size(), limits_.shownLineBytes);
    // One byte more than is shown tells the cut, and where a character ends, as the whole.
    lines_.push_back({entry.text.substr(0, limits_.shownLineBytes + 1), entry.colour, bytes});
    bytes_ += bytes;
    ++linesAdded_;
    while (lines_.size() > static_cast<std::size_t>(limits_.consoleLines) ||
           bytes_ > limits_.consoleBytes) {
        bytes_ -= lines_.front().bytes;
        lines_.pop_front();
    }
}

std::deque<PendingLog::Line> PendingLog::take() {
    bytes_ = 0;
    return std::exchange(lines_, {});
}

}  // namespace tesk
