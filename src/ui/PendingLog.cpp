#include "ui/PendingLog.h"

#include <algorithm>
#include <utility>

#include "watch/ShownText.h"

namespace tesk {

PendingLog::PendingLog(const RemoteTextLimits& limits) : limits_(limits) {}

void PendingLog::add(const LogEntry& entry) {
    const std::size_t bytes = std::min(entry.text.size(), limits_.shownLineBytes);
    lines_.push_back({shownText(entry.text, limits_.shownLineBytes),
                      QColor(entry.colour.red, entry.colour.green, entry.colour.blue), bytes});
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
