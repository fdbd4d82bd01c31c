#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

namespace tesk {

// The "/stats" lines sent on the current connection whose echo has not come yet, so that
// only a request TESK made opens a statistics window: an echo the server makes up opens
// nothing. The writer notes, the reader takes; any thread.
class SentStatsRequests {
public:
    // More are never waiting for their echo; the oldest is forgotten first.
    static constexpr std::size_t kMostPending = 64;

    void begin();  // a new connection: nothing sent yet
    void noteSent(const std::string& line);
    // Whether `echo` answers a noted line; that line is then taken.
    bool takeEcho(const std::string& echo);

private:
    std::mutex mutex_;
    std::deque<std::string> sent_;
};

}  // namespace tesk
