#pragma once

#include <QtGlobal>

#include <deque>

namespace gatewaysim {

// Counts the lines of one connection in a sliding time window.
class FloodGuard {
public:
    // More than `lines` lines within `windowMs` is flooding; lines <= 0 switches the rule off.
    void setLimit(int lines, int windowMs);

    // Notes a line received at `nowMs` and returns by how many lines the window is now over
    // the limit: 0 within it, 1 for the first line too many, at most lines + 1.
    int excess(qint64 nowMs);
    // Notes a line received at `nowMs`; true when it is one line too many.
    bool exceeded(qint64 nowMs) { return excess(nowMs) > 0; }

private:
    int lines_ = 0;
    int windowMs_ = 0;
    std::deque<qint64> times_;
};

}  // namespace gatewaysim
