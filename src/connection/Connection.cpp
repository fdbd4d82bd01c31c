#include "connection/Connection.h"

#include <ctime>
#include <random>

#include "connection/CommandQueue.h"
#include "connection/ConnectionView.h"
#include "connection/Protocol.h"
#include "platform/GuiThread.h"
#include "platform/StopFlag.h"
#include "settings/LiveSettings.h"

namespace tesk {

Connection::Connection(CommandQueue& queue, LiveSettings& settings, ConnectionView& view,
                       GuiTimer& replyTimer, const ConnectionTimings& timings,
                       std::shared_ptr<StopFlag> stop)
    : queue_(queue),
      settings_(settings),
      view_(view),
      replyTimer_(replyTimer),
      timings_(timings),
      stop_(std::move(stop)),
      pollTimer_(timings.pollInterval, [this] { pollWatchList(); }),
      worker_([this] { workerLoop(); }) {}

Connection::~Connection() {
    shutdown();
    worker_.join();
}

void Connection::shutdown() {
    stop_->raise();
    client_.disable();
    client_.wakeWaiters();
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.notify_all();
}

void Connection::connect() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (busy_ && busyEpoch_ == epoch_) {
        return;  // merged into the attempt under way
    }
    pending_ = true;
    requests_.notify_all();
}

void Connection::workerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        requests_.wait(lock, [this] { return pending_ || stop_->raised(); });
        if (stop_->raised()) {
            return;
        }
        pending_ = false;
        busy_ = true;
        busyEpoch_ = epoch_;
        const std::uint64_t epoch = epoch_;
        lock.unlock();
        runConnect(epoch);
        lock.lock();
        busy_ = false;
    }
}

bool Connection::cancelled(std::uint64_t epoch) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return epoch != epoch_ || stop_->raised();
}

void Connection::runConnect(std::uint64_t epoch) {
    // Failed attempts repeat without a pause while "Force reconnect" stays on.
    for (;;) {
        if (cancelled(epoch)) {
            return;
        }
        setStatus(ConnectionStatus::Connecting);
        showStatus();
        setStatus(ConnectionStatus::Offline);

        const SettingsValues settings = settings_.snapshot();
        if (const char* obstacle = GatewayDialect::loginObstacle(settings)) {
            dropConnection();
            resetWatchList();
            showError(obstacle);
            return;
        }
        // Before the socket opens, so that the reader reads its first line in this dialect.
        dialect_.begin(settings.serverType);
        sentStats_.begin();
        const bool opened = client_.open(settings.gateway, timings_.port);
        if (cancelled(epoch)) {
            return;  // goOffline came in meanwhile and has closed the client
        }
        if (opened) {
            for (const std::string& line : GatewayDialect::loginLines(settings)) {
                client_.sendLine(line);
            }
            if (!settings.anonymous) {
                std::minstd_rand random(static_cast<unsigned>(std::time(nullptr)));
                std::uniform_int_distribution<int> draw(0, 32767);
                queue_.putFront(protocol::joinChannelCommand(draw(random)), mark::kProgram);
            }
            if (queue_.size() < 4) {
                pollWatchList();
            }
            return;
        }
        dropConnection();
        if (!settings_.snapshot().force) {
            resetWatchList();
            showError(protocol::cannotConnectMessage());
            return;
        }
    }
}

void Connection::goOffline() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++epoch_;
    }
    dropConnection();
}

void Connection::dropConnection() {
    setStatus(ConnectionStatus::Offline);
    replyTimer_.disarm();
    pollTimer_.disarm();
    client_.close();
    // The button still shows the status from before: a mode chosen by the user is set
    // again after the next login.
    const std::string caption = shownStatus().caption;
    if (caption == "Away") {
        queue_.putFront(protocol::kAwayCommand, mark::kProgram);
    } else if (caption == "DND") {
        queue_.putFront(protocol::kDndCommand, mark::kProgram);
    }
    showStatus();
}

void Connection::pollWatchList() {
    pollTimer_.disarm();
    auto names = std::make_shared<std::vector<std::string>>();
    gui_thread::runAndWait([this, names] { *names = view_.namesToPoll(); }, stop_);
    for (const std::string& name : *names) {
        queue_.putBack(protocol::kWhoisPrefix + name, mark::kProgram);
    }
    queue_.putBack(protocol::kControlMarker, mark::kControl);
}

void Connection::resetWatchList() {
    gui_thread::runAndWait(
        [this] {
            queue_.clear();
            view_.resetWatchRows();
        },
        stop_);
}

void Connection::showStatus() {
    const auto display = statusDisplayFor(status());
    gui_thread::runAndWait(
        [this, display] {
            StatusDisplay shown;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (display) {
                    shown_ = *display;
                }
                shown = shown_;
            }
            view_.displayStatus(shown);
        },
        stop_);
}

StatusDisplay Connection::shownStatus() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

void Connection::reconnect() {
    goOffline();
    connect();
}

void Connection::reconnectIfOnline() {
    if (!isOffline(status())) {
        reconnect();
    }
}

void Connection::showError(const std::string& message) {
    gui_thread::runAndWait([this, message] { view_.showError(message); }, stop_);
}

}  // namespace tesk
