#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/IcmpEcho.h"

namespace tesk {

class LiveSettings;
class StopFlag;

struct PingTimings {
    std::chrono::milliseconds echoTimeout{5000};  // wait for one reply
    std::chrono::milliseconds pause{1000};        // after each display
};

// Measures the round trip to the gateway with one ICMP echo about every second while the
// ping toolbar is visible, and hands each result to the GUI thread. Created asleep.
class Pinger {
public:
    using Display = std::function<void(const std::string& pingText)>;
    using ErrorReport = std::function<void(const std::string& message)>;
    // Opens the echo service for one measurement; nullptr when it cannot be opened.
    using EchoOpener = std::function<std::unique_ptr<EchoService>()>;

    static constexpr const char* kOpenFailed = "Unable to open ping service.\nPing will not work.";
    static constexpr const char* kLookupFailed =
        "Could not find IP address for host.\nCheck if your Battle.net gateway is correct.";

    // `display` and `error` run on the GUI thread while the pinger's thread waits; both are
    // copied into each hand-over, so they must only refer to objects that outlive it.
    Pinger(LiveSettings& settings, Display display, ErrorReport error, PingTimings timings = {},
           EchoOpener openEcho = defaultEchoOpener());
    ~Pinger();  // stops and joins; an echo under way is abandoned at once
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;

    // Called on the GUI thread whenever the ping toolbar is shown or hidden. Showing it
    // wakes the thread if it sleeps; hiding takes effect before the next measurement.
    // A thread that went to sleep after an error wakes only when the toolbar was hidden
    // in between, so each cause is reported once per showing.
    void setToolbarVisible(bool visible);
    bool isAsleep() const;

    // The latest result: "42ms", "..." or, before the first one, empty.
    std::string pingText() const;

private:
    static EchoOpener defaultEchoOpener();

    void run();
    bool measure();  // false after an error report or a stop
    void reportError(const std::string& message);
    void setPingText(const std::string& text);

    LiveSettings& settings_;
    const Display display_;
    const ErrorReport error_;
    const PingTimings timings_;
    const EchoOpener openEcho_;
    const std::shared_ptr<StopFlag> stop_;

    // Kept under the stop flag's lock, so that the thread's wait for a wake also ends on a
    // stop.
    bool toolbarVisible_ = false;
    bool asleep_ = true;

    mutable std::mutex textMutex_;
    std::string pingText_;

    std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace tesk
