#pragma once

#include <QtGlobal>

#include <deque>

namespace gatewaysim {

// Counts what one connection sends in a sliding time window: lines, or PvPGN's units.
class FloodGuard {
public:
    // The rule's limit within `windowMs`; limit <= 0 switches it off.
    void setLimit(int limit, int windowMs);
    int limit() const { return limit_; }

    // Notes `units` received at `nowMs` and returns the units within the window, these
    // included; 0 while the rule is off.
    int add(qint64 nowMs, int units);
    // Notes a line received at `nowMs` and returns by how many lines the window is now over
    // the limit: 0 within it, 1 for the first line too many, at most limit + 1.
    int excess(qint64 nowMs);
    // Notes a line received at `nowMs`; true when it is one line too many.
    bool exceeded(qint64 nowMs) { return excess(nowMs) > 0; }

private:
    struct Received {
        qint64 ms;
        int units;
    };

    int limit_ = 0;
    int windowMs_ = 0;
    std::deque<Received> received_;
    int units_ = 0;  // of received_
};

}  // namespace gatewaysim
