#include "connection/Connection.h"

#include <cstdio>
#include <ctime>
#include <random>

#include "connection/CommandQueue.h"
#include "connection/ConnectionView.h"
#include "connection/Protocol.h"
#include "platform/GuiThread.h"
#include "platform/StopFlag.h"
#include "settings/LiveSettings.h"

namespace tesk {

namespace {

ServerQuota serverQuota(const QuotaSettings& quota, const ConnectionTimings& timings) {
    const std::chrono::milliseconds window =
        timings.quotaWindow.value_or(std::chrono::seconds(quota.seconds));
    return {quota.units, window + timings.quotaMargin, quota.bytesPerUnit,
            static_cast<std::size_t>(quota.maxLineBytes)};
}

std::string secondsText(std::chrono::milliseconds pause) {
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(pause.count()) / 1000.0);
    return text;
}

}  // namespace

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
      loginTimer_(timings.loginTimeout, [this] { loginFailed(LoginFailure::NoAnswer); }),
      retryPause_(timings.firstRetryPause, timings.longestRetryPause),
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
        const std::chrono::milliseconds pause = std::exchange(pendingPause_, {});
        lock.unlock();
        if (pause.count() <= 0 || waitRetryPause(epoch, pause)) {
            runConnect(epoch);
        }
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

        const SettingsValues settings = attemptSettings();
        if (const char* obstacle = GatewayDialect::loginObstacle(settings)) {
            dropConnection();
            resetWatchList();
            showError(obstacle);
            return;
        }
        // Before the socket opens, so that the reader reads its first line in this dialect.
        dialect_.begin(settings.serverType, serverQuota(settings.quota, timings_));
        sentStats_.begin();
        const bool opened = client_.open(settings.gateway, timings_.port);
        if (cancelled(epoch)) {
            return;  // goOffline came in meanwhile and has closed the client
        }
        if (opened) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                loginUnderWay_ = true;
                attemptAccount_ = settings.user + '\n' + settings.password;
            }
            loginTimer_.arm();
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
        const std::chrono::milliseconds pause = nextRetryPause();
        showConnecting(epoch, {});
        note("Could not connect to " + settings.gateway + "; trying again in " +
             secondsText(pause) + ".");
        if (!waitRetryPause(epoch, pause)) {
            return;
        }
    }
}

void Connection::goOffline() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++epoch_;
        requests_.notify_all();  // a retry waiting its pause ends
    }
    dropConnection();
}

// The settings of the next attempt, with the server type it tries: Automatic tries the
// type found for the gateway, else the classic login and, after that failed, PvPGN's.
SettingsValues Connection::attemptSettings() {
    SettingsValues settings = settings_.snapshot();
    std::lock_guard<std::mutex> lock(mutex_);
    automaticAttempt_ = settings.serverType == ServerType::Automatic;
    if (automaticAttempt_) {
        const auto found = foundTypes_.find(settings.gateway);
        settings.serverType = found != foundTypes_.end()            ? found->second
                              : std::exchange(tryPvpgnNext_, false) ? ServerType::PvPGN
                                                                    : ServerType::Classic;
    }
    attemptGateway_ = settings.gateway;
    attemptType_ = settings.serverType;
    return settings;
}

bool Connection::waitRetryPause(std::uint64_t epoch, std::chrono::milliseconds pause) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !requests_.wait_for(lock, pause, [&] { return epoch_ != epoch || stop_->raised(); });
}

std::chrono::milliseconds Connection::nextRetryPause() {
    std::lock_guard<std::mutex> lock(mutex_);
    return retryPause_.take();
}

void Connection::connectAfter(std::chrono::milliseconds pause, const std::string& why) {
    std::uint64_t epoch = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_ = true;
        pendingPause_ = pause;
        epoch = epoch_;
        requests_.notify_all();
    }
    if (pause.count() > 0) {
        showConnecting(epoch, why);
    }
}

// "Connecting..." while a retry waits, unless going offline has cancelled it meanwhile:
// the check is made on the GUI thread, in order with what goOffline shows.
void Connection::showConnecting(std::uint64_t epoch, const std::string& why) {
    StatusDisplay connecting = *statusDisplayFor(ConnectionStatus::Connecting);
    connecting.tipCaption = why;
    gui_thread::runAndWait(
        [this, connecting, epoch] {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (epoch_ != epoch) {
                    return;
                }
                shown_ = connecting;
            }
            view_.displayStatus(connecting);
        },
        stop_);
}

void Connection::loginAccepted() {
    loginTimer_.disarm();
    std::unique_lock<std::mutex> lock(mutex_);
    loginUnderWay_ = false;
    loggedInAt_ = std::chrono::steady_clock::now();
    loggedInAccount_ = attemptAccount_;
    if (automaticAttempt_ && foundTypes_.count(attemptGateway_) == 0) {
        foundTypes_[attemptGateway_] = attemptType_;
        const std::string found = attemptGateway_ + " is a " +
                                  (attemptType_ == ServerType::PvPGN ? "PvPGN" : "classic") +
                                  " server.";
        lock.unlock();
        note(found);
    }
}

void Connection::loginRefused() {
    const bool pvpgn = dialect_.type() == ServerType::PvPGN;
    bool inUse = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        inUse = pvpgn && !loggedInAccount_.empty() && attemptAccount_ == loggedInAccount_;
    }
    goOffline();
    resetWatchList();
    if (inUse && settings_.snapshot().force) {
        connectAfter(timings_.accountInUseRetry, protocol::kAccountInUse);
        note("The account is logged on elsewhere. Trying again in " +
             secondsText(timings_.accountInUseRetry) + ".");
        return;
    }
    showError(pvpgn ? protocol::kPvpgnLoginFailedMessage : protocol::kLoginIncorrectMessage);
}

void Connection::loginFailed(LoginFailure failure) {
    const SettingsValues settings = settings_.snapshot();
    bool tryPvpgn = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!loginUnderWay_) {
            return;  // the timer's tick crossed "2010 NAME" or a drop on its way
        }
        // Automatic: the same connect tries PvPGN's login at once (it needs an account).
        tryPvpgn = automaticAttempt_ && attemptType_ == ServerType::Classic &&
                   foundTypes_.count(attemptGateway_) == 0 && !settings.anonymous;
        tryPvpgnNext_ = tryPvpgn;
    }
    goOffline();
    if (tryPvpgn) {
        connectAfter(std::chrono::milliseconds(0));
        return;
    }
    const std::string message =
        failure == LoginFailure::NoAnswer
            ? protocol::loginUnansweredMessage()
            : protocol::closedDuringLoginMessage(settings.serverType == ServerType::Classic);
    if (!settings.force) {
        resetWatchList();
        showError(message);
        return;
    }
    const std::chrono::milliseconds pause = nextRetryPause();
    connectAfter(pause);
    // The box's reason, its second line, says what went wrong.
    const std::size_t reason = message.find('\n') + 1;
    note(message.substr(reason, message.find('\n', reason) - reason) + " Trying again in " +
         secondsText(pause) + ".");
}

// Only a close by the server counts: closing it ourselves has replaced the connection.
void Connection::peerClosed(std::uint64_t generation) {
    if (client_.current().generation != generation) {
        return;
    }
    bool duringLogin = false;
    bool brief = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        duringLogin = loginUnderWay_;
        brief = std::chrono::steady_clock::now() - loggedInAt_ < timings_.stableLogin;
        if (!brief) {
            retryPause_.reset();
        }
    }
    if (duringLogin) {
        loginFailed(LoginFailure::Closed);
        return;
    }
    if (!isLoggedIn(status())) {
        return;
    }
    note("The server closed the connection.");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++epoch_;
    }
    dropConnection(false);  // the button goes straight to "Connecting..."
    // Kicked again and again soon after the login: the pauses grow as after failures.
    connectAfter(settings_.snapshot().force && brief ? nextRetryPause()
                                                     : std::chrono::milliseconds(0));
}

void Connection::note(const std::string& text) {
    gui_thread::runAndWait([this, text] { view_.logNote(text); }, stop_);
}

void Connection::dropConnection(bool show) {
    loginTimer_.disarm();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        loginUnderWay_ = false;
    }
    // While logged in the status is the mode the server confirmed last. The next login
    // sets it again; taking it here makes a second drop before then set it only once.
    const ConnectionStatus mode = status_.exchange(ConnectionStatus::Offline);
    replyTimer_.disarm();
    pollTimer_.disarm();
    client_.close();
    if (mode == ConnectionStatus::Away) {
        queue_.putFront(protocol::kAwayCommand, mark::kProgram);
    } else if (mode == ConnectionStatus::Dnd) {
        queue_.putFront(protocol::kDndCommand, mark::kProgram);
    }
    if (show) {
        showStatus();
    }
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
