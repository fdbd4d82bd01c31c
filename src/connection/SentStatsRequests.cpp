#include "connection/SentStatsRequests.h"

#include <algorithm>

#include "connection/Protocol.h"
#include "connection/ServerLine.h"

namespace tesk {

void SentStatsRequests::begin() {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.clear();
}

void SentStatsRequests::noteSent(const std::string& line) {
    if (!startsWith(line, protocol::kStatsPrefix)) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.push_back(line);
    if (sent_.size() > kMostPending) {
        sent_.pop_front();
    }
}

bool SentStatsRequests::takeEcho(const std::string& echo) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = std::find(sent_.begin(), sent_.end(), echo);
    if (found == sent_.end()) {
        return false;
    }
    sent_.erase(found);
    return true;
}

}  // namespace tesk
