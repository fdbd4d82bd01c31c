#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

namespace tesk {

// What a PvPGN server accepts from its client. Every line costs ceil(bytes / bytesPerUnit)
// units, at least one. The server refuses the line that brings the units of its window up
// to the budget, and that line still counts: a client that goes on is disconnected at
// twice the budget. A line longer than maxLineBytes is refused whole.
struct ServerQuota {
    int units = 5;
    std::chrono::milliseconds window{5000};
    int bytesPerUnit = 40;
    std::size_t maxLineBytes = 200;

    int unitsOf(std::size_t bytes) const;
    // The longest line the server ever takes: longer ones reach the budget on their own.
    std::size_t longestLine() const;
};

// The lines of one connection within the quota's window, and when the next line may go
// so that the window's units, its own included, stay below the budget.
class SendQuota {
public:
    using Clock = std::chrono::steady_clock;

    explicit SendQuota(const ServerQuota& quota = {}) : quota_(quota) {}

    // `now`, or the moment the lines that stand in the way have left the window. A line
    // that reaches the budget on its own goes once the window is empty: the server
    // refuses it, but the lines behind it are not held up for ever.
    Clock::time_point earliestSend(std::size_t bytes, Clock::time_point now) const;
    void sent(std::size_t bytes, Clock::time_point at);

private:
    struct Sent {
        Clock::time_point at;
        int units;
    };

    ServerQuota quota_;
    std::deque<Sent> sent_;  // oldest first
};

}  // namespace tesk
