#include "FloodGuard.h"

#include <algorithm>

namespace gatewaysim {

void FloodGuard::setLimit(int limit, int windowMs) {
    limit_ = limit;
    windowMs_ = windowMs;
    received_.clear();
    units_ = 0;
}

int FloodGuard::add(qint64 nowMs, int units) {
    if (limit_ <= 0) {
        return 0;
    }
    received_.push_back({nowMs, units});
    units_ += units;
    // No rule looks further than twice the limit, so older entries beyond that many never
    // matter, whatever the clock does.
    while (!received_.empty() && (received_.front().ms <= nowMs - windowMs_ ||
                                  received_.size() > 2 * static_cast<std::size_t>(limit_) + 1)) {
        units_ -= received_.front().units;
        received_.pop_front();
    }
    return units_;
}

int FloodGuard::excess(qint64 nowMs) {
    return std::max(0, add(nowMs, 1) - limit_);
}

}  // namespace gatewaysim
