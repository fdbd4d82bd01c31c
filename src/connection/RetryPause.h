#pragma once

#include <chrono>

namespace tesk {

// The pause before the next connect attempt while "Force reconnect" retries: the first
// pause, then twice the one before, up to the longest (2, 4, 8 … 60 s).
class RetryPause {
public:
    RetryPause(std::chrono::milliseconds first, std::chrono::milliseconds longest)
        : first_(first), longest_(longest), next_(first) {}

    std::chrono::milliseconds take() {
        const std::chrono::milliseconds pause = next_;
        next_ = std::min(next_ * 2, longest_);
        return pause;
    }
    void reset() { next_ = first_; }

private:
    const std::chrono::milliseconds first_;
    const std::chrono::milliseconds longest_;
    std::chrono::milliseconds next_;
};

}  // namespace tesk
