#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tesk {

// A stop request shared by a worker and whoever stops it. Waits that must end promptly on
// stop (pauses, hand-overs to the GUI thread) wait on the flag itself; state they wait for
// is kept under the flag's lock, so that a change to it and a stop wake them alike.
class StopFlag {
public:
    void raise() {
        change([this] { raised_.store(true); });
    }
    bool raised() const { return raised_.load(); }

    // Sleeps for `duration` unless the flag is raised first; true when the full time passed.
    bool sleepFor(std::chrono::milliseconds duration) {
        std::unique_lock<std::mutex> lock(mutex_);
        return !cv_.wait_for(lock, duration, [this] { return raised_.load(); });
    }

    // Waits until `ready()`, called under the lock, holds or the flag is raised; returns
    // whether it was ready.
    template <typename Ready>
    bool waitUntil(Ready ready) {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [&] { return ready() || raised_.load(); });
        return ready();
    }

    // Runs `access` under the lock and returns what it returns.
    template <typename Access>
    auto withLock(Access access) {
        std::lock_guard<std::mutex> lock(mutex_);
        return access();
    }

    // Runs `update` under the lock, then wakes every waitUntil() to look again.
    template <typename Update>
    void change(Update update) {
        withLock(update);
        cv_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    std::atomic<bool> raised_{false};
};

}  // namespace tesk
