#include "FloodGuard.h"

namespace gatewaysim {

void FloodGuard::setLimit(int lines, int windowMs) {
    lines_ = lines;
    windowMs_ = windowMs;
    times_.clear();
}

bool FloodGuard::exceeded(qint64 nowMs) {
    if (lines_ <= 0) {
        return false;
    }
    times_.push_back(nowMs);
    while (!times_.empty() && times_.front() <= nowMs - windowMs_) {
        times_.pop_front();
    }
    // Never hold more than one window's worth of times, whatever the clock does.
    while (times_.size() > static_cast<std::size_t>(lines_) + 1) {
        times_.pop_front();
    }
    return times_.size() > static_cast<std::size_t>(lines_);
}

}  // namespace gatewaysim
