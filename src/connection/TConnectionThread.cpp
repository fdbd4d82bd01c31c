#include "connection/TConnectionThread.h"

#include <ctime>
#include <random>

#include "connection/CommandQueue.h"
#include "connection/ConnectionView.h"
#include "connection/Protocol.h"
#include "platform/GuiThread.h"
#include "platform/StopFlag.h"
#include "settings/LiveSettings.h"

namespace tesk {

TConnectionThread::TConnectionThread(CommandQueue& queue, LiveSettings& settings,
                                     ConnectionView& view, GuiTimer& replyTimer,
                                     const ConnectionTimings& timings,
                                     std::shared_ptr<StopFlag> stop)
    : queue_(queue),
      settings_(settings),
      view_(view),
      replyTimer_(replyTimer),
      timings_(timings),
      stop_(std::move(stop)),
      pollTimer_(timings.pollInterval, [this] { PollWatchList(); }),
      worker_([this] { workerLoop(); }) {}

TConnectionThread::~TConnectionThread() {
    shutdown();
    worker_.join();
}

void TConnectionThread::shutdown() {
    stop_->raise();
    client_.disable();
    client_.wakeWaiters();
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.notify_all();
}

void TConnectionThread::Connect() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (busy_ && busyEpoch_ == epoch_) {
        return;  // merged into the attempt under way
    }
    pending_ = true;
    requests_.notify_all();
}

void TConnectionThread::workerLoop() {
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

bool TConnectionThread::cancelled(std::uint64_t epoch) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return epoch != epoch_ || stop_->raised();
}

void TConnectionThread::runConnect(std::uint64_t epoch) {
    // Failed attempts repeat without a pause while "Force reconnect" stays on.
    for (;;) {
        if (cancelled(epoch)) {
            return;
        }
        setStatus(ConnectionStatus::Connecting);
        ShowStatus();
        setStatus(ConnectionStatus::Offline);

        const SettingsValues settings = settings_.snapshot();
        if (const char* obstacle = GatewayDialect::loginObstacle(settings)) {
            goOffline();
            ResetWatchList();
            showError(obstacle);
            return;
        }
        // Before the socket opens, so that the reader reads its first line in this dialect.
        dialect_.begin(settings.serverType);
        const bool opened = client_.open(settings.gateway, timings_.port);
        if (cancelled(epoch)) {
            return;  // GoOffline came in meanwhile and has closed the client
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
                PollWatchList();
            }
            return;
        }
        goOffline();
        if (!settings_.snapshot().force) {
            ResetWatchList();
            showError(protocol::cannotConnectMessage());
            return;
        }
    }
}

void TConnectionThread::GoOffline() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++epoch_;
    }
    goOffline();
}

void TConnectionThread::goOffline() {
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
    ShowStatus();
}

void TConnectionThread::PollWatchList() {
    pollTimer_.disarm();
    auto names = std::make_shared<std::vector<std::string>>();
    gui_thread::runAndWait([this, names] { *names = view_.namesToPoll(); }, stop_);
    for (const std::string& name : *names) {
        queue_.putBack(protocol::kWhoisPrefix + name, mark::kProgram);
    }
    queue_.putBack(protocol::kControlMarker, mark::kControl);
}

void TConnectionThread::ResetWatchList() {
    gui_thread::runAndWait(
        [this] {
            queue_.clear();
            view_.resetWatchRows();
        },
        stop_);
}

void TConnectionThread::ShowStatus() {
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
            view_.showStatus(shown);
        },
        stop_);
}

StatusDisplay TConnectionThread::shownStatus() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

void TConnectionThread::Reconnect() {
    GoOffline();
    Connect();
}

void TConnectionThread::ReconnectIfOnline() {
    if (!isOffline(status())) {
        Reconnect();
    }
}

void TConnectionThread::showError(const std::string& message) {
    gui_thread::runAndWait([this, message] { view_.showError(message); }, stop_);
}

}  // namespace tesk
