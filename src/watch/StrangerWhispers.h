#pragma once

#include <QTime>
#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "watch/RemoteTextLimits.h"

namespace tesk {

// One whisper line kept for a chat window that is not open yet.
struct HeldWhisper {
    std::string speaker;
    std::string text;
    bool incoming = true;
    QTime time;
    // Why the gateway did not deliver our whisper; none when it did.
    std::optional<std::string> refusal{};
};

// Whispers from names that are not watched and have no window may open only a few new
// chat windows per period, so that nobody can flood the desktop with windows. The
// whispers of further new partners are held, within a number of partners and bytes,
// until the user opens their windows; as many of them per period may be told of.
class StrangerWhispers {
public:
    using Clock = std::chrono::steady_clock;

    explicit StrangerWhispers(const RemoteTextLimits& limits);

    // Whether a new partner may have a window now; a yes uses up one of the period's.
    bool mayOpenWindow(Clock::time_point now) { return windows_.take(now); }
    // Whether the user may be told of a newly held partner now; the same.
    bool mayTellOfHeld(Clock::time_point now) { return heldNotices_.take(now); }

    // Keeps the line for `partner`; false when it would pass the bounds (it is dropped).
    bool hold(const std::string& partner, HeldWhisper whisper);
    bool isHeld(const std::string& partner) const;

    // Partners in the order their first line arrived.
    std::vector<std::string> partners() const;
    std::size_t heldLines() const;
    // The partner's lines, oldest first; they are held no longer.
    std::vector<HeldWhisper> release(const std::string& partner);

private:
    // At most `count` uses within any `period`.
    class Quota {
    public:
        Quota(int count, std::chrono::milliseconds period)
            : count_(static_cast<std::size_t>(count)), period_(period) {}
        bool take(Clock::time_point now);

    private:
        const std::size_t count_;
        const std::chrono::milliseconds period_;
        std::deque<Clock::time_point> taken_;
    };

    struct Partner {
        std::string name;
        std::string key;
        std::vector<HeldWhisper> lines;
    };
    std::size_t indexOf(const std::string& partner) const;  // held_.size() when not held

    const RemoteTextLimits limits_;
    Quota windows_;
    Quota heldNotices_;
    std::vector<Partner> held_;
    std::size_t heldBytes_ = 0;
};

}  // namespace tesk
