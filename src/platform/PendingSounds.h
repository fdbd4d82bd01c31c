#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace tesk {

// The chimes waiting for the sound device. A chime is news only for a moment: one that
// waited longer than kMaxAge (behind a hung sound server, say) is dropped rather than
// played late, and beyond kMaxPending waiting chimes new ones are dropped. Not locked:
// the player guards it.
class PendingSounds {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kMaxPending = 4;
    static constexpr std::chrono::seconds kMaxAge{2};

    struct Sound {
        std::string file;
        Clock::time_point queuedAt;
        bool isStale(Clock::time_point now) const { return now - queuedAt > kMaxAge; }
    };

    // False when the chime was dropped because too many wait.
    bool add(std::string file, Clock::time_point now);
    // The oldest chime that is not stale, dropping the stale ones before it.
    std::optional<Sound> takeFresh(Clock::time_point now);
    bool empty() const { return sounds_.empty(); }

private:
    std::deque<Sound> sounds_;
};

}  // namespace tesk
