#include "connection/SendQuota.h"

#include <algorithm>

namespace tesk {

namespace {
std::size_t positive(int value) {
    return static_cast<std::size_t>(std::max(1, value));
}
}  // namespace

int ServerQuota::unitsOf(std::size_t bytes) const {
    return static_cast<int>(
        std::max<std::size_t>(1, (bytes + positive(bytesPerUnit) - 1) / positive(bytesPerUnit)));
}

std::size_t ServerQuota::longestLine() const {
    return std::min(maxLineBytes, (positive(units) - 1) * positive(bytesPerUnit));
}

SendQuota::Clock::time_point SendQuota::earliestSend(std::size_t bytes,
                                                     Clock::time_point now) const {
    // The units the window may hold besides this line's.
    const int room = std::max(0, quota_.units - 1 - quota_.unitsOf(bytes));
    int counted = 0;
    for (const Sent& line : sent_) {
        if (line.at + quota_.window > now) {
            counted += line.units;
        }
    }
    Clock::time_point when = now;
    for (const Sent& line : sent_) {
        if (counted <= room) {
            break;
        }
        if (line.at + quota_.window > now) {
            counted -= line.units;
            when = line.at + quota_.window;
        }
    }
    return when;
}

void SendQuota::sent(std::size_t bytes, Clock::time_point at) {
    while (!sent_.empty() && sent_.front().at + quota_.window <= at) {
        sent_.pop_front();
    }
    sent_.push_back({at, quota_.unitsOf(bytes)});
}

}  // namespace tesk
