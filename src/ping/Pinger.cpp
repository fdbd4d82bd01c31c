#include "ping/Pinger.h"

#include <cstdint>
#include <vector>

#include "platform/GuiThread.h"
#include "platform/StopFlag.h"
#include "settings/LiveSettings.h"

namespace tesk {

namespace {

const std::vector<std::uint8_t> kRequestData(64, 0xAA);

}  // namespace

Pinger::EchoOpener Pinger::defaultEchoOpener() {
    return []() -> std::unique_ptr<EchoService> { return IcmpEcho::open(); };
}

Pinger::Pinger(LiveSettings& settings, Display display, ErrorReport error, PingTimings timings,
               EchoOpener openEcho)
    : settings_(settings),
      display_(std::move(display)),
      error_(std::move(error)),
      timings_(timings),
      openEcho_(std::move(openEcho)),
      stop_(std::make_shared<StopFlag>()),
      thread_([this] { run(); }) {}

Pinger::~Pinger() {
    stop_->raise();
    thread_.join();
}

void Pinger::setToolbarVisible(bool visible) {
    stop_->change([&] {
        if (visible && !toolbarVisible_) {
            asleep_ = false;
        }
        toolbarVisible_ = visible;
    });
}

bool Pinger::isAsleep() const {
    return stop_->withLock([this] { return asleep_; });
}

std::string Pinger::pingText() const {
    std::lock_guard<std::mutex> lock(textMutex_);
    return pingText_;
}

void Pinger::setPingText(const std::string& text) {
    std::lock_guard<std::mutex> lock(textMutex_);
    pingText_ = text;
}

void Pinger::run() {
    for (;;) {
        stop_->withLock([this] {
            if (!toolbarVisible_) {
                asleep_ = true;
            }
        });
        stop_->waitUntil([this] { return !asleep_; });
        if (stop_->raised()) {
            return;
        }
        if (measure()) {
            stop_->sleepFor(timings_.pause);
        }
    }
}

bool Pinger::measure() {
    const std::string gateway = settings_.snapshot().gateway;
    std::string text = "...";
    // Without a gateway there is nothing to measure, and the connection already says so.
    if (!gateway.empty()) {
        std::unique_ptr<EchoService> echo = openEcho_();
        if (!echo) {
            reportError(kOpenFailed);
            return false;
        }
        const auto target = resolveIpv4(gateway);
        if (!target) {
            reportError(kLookupFailed);
            return false;
        }
        const auto roundTrip = echo->echo(*target, kRequestData, timings_.echoTimeout, *stop_);
        if (roundTrip) {
            text = std::to_string(roundTrip->count()) + "ms";
        }
    }  // the socket is not held while the display waits for the GUI thread
    setPingText(text);
    const Display display = display_;
    return gui_thread::runAndWait([display, text] { display(text); }, stop_);
}

// The label gives up its last figure, which no longer holds, before the box says why.
void Pinger::reportError(const std::string& message) {
    setPingText("...");
    const Display display = display_;
    const ErrorReport error = error_;
    gui_thread::runAndWait(
        [display, error, message] {
            display("...");
            error(message);
        },
        stop_);
    stop_->withLock([this] { asleep_ = true; });
}

}  // namespace tesk
