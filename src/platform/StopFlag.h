#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tesk {

// A stop request shared by a worker and whoever stops it. Waits that must end promptly
// on stop (pauses, hand-overs to the GUI thread) sleep on its condition variable.
class StopFlag {
public:
    void raise() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            raised_.store(true);
        }
        cv.notify_all();
    }
    bool raised() const { return raised_.load(); }

    // Sleeps for `duration` unless the flag is raised first; true when the full time passed.
    bool sleepFor(std::chrono::milliseconds duration) {
        std::unique_lock<std::mutex> lock(mutex);
        return !cv.wait_for(lock, duration, [this] { return raised_.load(); });
    }

    std::mutex mutex;
    std::condition_variable cv;

private:
    std::atomic<bool> raised_{false};
};

}  // namespace tesk
