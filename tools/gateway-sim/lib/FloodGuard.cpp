#include "FloodGuard.h"

#include <algorithm>

namespace gatewaysim {

void FloodGuard::setLimit(int lines, int windowMs) {
    lines_ = lines;
    windowMs_ = windowMs;
    times_.clear();
}

int FloodGuard::excess(qint64 nowMs) {
    if (lines_ <= 0) {
        return 0;
    }
    times_.push_back(nowMs);
    while (!times_.empty() && times_.front() <= nowMs - windowMs_) {
        times_.pop_front();
    }
    // No rule looks further than twice the limit; never hold more, whatever the clock does.
    while (times_.size() > 2 * static_cast<std::size_t>(lines_) + 1) {
        times_.pop_front();
    }
    return std::max(0, static_cast<int>(times_.size()) - lines_);
}

}  // namespace gatewaysim
