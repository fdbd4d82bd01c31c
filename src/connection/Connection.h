#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "connection/ConnectionStatus.h"
#include "connection/ConnectionTimings.h"
#include "connection/GatewayDialect.h"
#include "connection/RetryPause.h"
#include "connection/SentStatsRequests.h"
#include "platform/GuiTimer.h"
#include "platform/TcpClient.h"
#include "settings/LiveSettings.h"

namespace tesk {

class CommandQueue;
class ConnectionView;
class LiveSettings;
class StopFlag;

// The one connection to the chat gateway: its status, the TCP client, the poll timer,
// and the procedures every other part uses. Connect requests run one at a time on a
// worker of their own, so the GUI thread never blocks on the network; a request that
// arrives while an attempt is under way is merged into it, and goOffline cancels an
// attempt under way. Create on the GUI thread.
class Connection {
public:
    Connection(CommandQueue& queue, LiveSettings& settings, ConnectionView& view,
               GuiTimer& replyTimer, const ConnectionTimings& timings,
               std::shared_ptr<StopFlag> stop);
    ~Connection();  // shuts down and joins the worker

    // Asks for a connect; returns at once. Any thread.
    void connect();
    // Drops the connection and stops the timers. Any thread.
    void goOffline();
    // One polling cycle: "/whois" for every watched user, then the control marker.
    void pollWatchList();
    // Empties the command queue and resets every row; waits for the GUI thread.
    void resetWatchList();
    // Shows the status on the status button and the tray; waits for the GUI thread.
    void showStatus();
    // The reply timer's answer to a dead connection: goOffline, then connect.
    void reconnect();
    // After the settings changed: a connection that is not offline starts again with
    // them; while offline the next connect uses them anyway.
    void reconnectIfOnline();

    // The reader's news: "2010 NAME" arrived; the server closed the connection of
    // `generation` (during the login, or a kick after it). Any thread.
    void loginAccepted();
    void peerClosed(std::uint64_t generation);
    // The server refused the account: the box, or, when the account and password already
    // logged in during this run on a PvPGN server (so the account is in use elsewhere) and
    // "Force reconnect" is on, a retry every accountInUseRetry.
    void loginRefused();

    ConnectionStatus status() const { return status_.load(); }
    void setStatus(ConnectionStatus status) { status_.store(status); }

    TcpClient& client() { return client_; }
    // What the server of the current connection speaks; the reader and writer go through it.
    GatewayDialect& dialect() { return dialect_; }
    // The statistics requests sent on the current connection and not yet echoed.
    SentStatsRequests& sentStats() { return sentStats_; }
    GuiTimer& pollTimer() { return pollTimer_; }

    // Raises the stop flag, closes the client for good and wakes every wait.
    void shutdown();

private:
    void workerLoop();
    void runConnect(std::uint64_t epoch);
    bool cancelled(std::uint64_t epoch) const;
    // goOffline without cancelling the attempt that calls it; `show` false leaves the
    // status button as it is, for a new connect that follows at once.
    void dropConnection(bool show = true);
    void note(const std::string& text);  // a line in the console

    enum class LoginFailure { NoAnswer, Closed };
    // The server did not let the login finish: the box, or with "Force reconnect" a retry.
    void loginFailed(LoginFailure failure);
    // A connect that waits `pause` first; going offline cancels it while it waits.
    void connectAfter(std::chrono::milliseconds pause, const std::string& why = {});
    // The worker's wait before a retry; false when it was cancelled.
    bool waitRetryPause(std::uint64_t epoch, std::chrono::milliseconds pause);
    std::chrono::milliseconds nextRetryPause();
    SettingsValues attemptSettings();
    void showConnecting(std::uint64_t epoch, const std::string& why);
    void showError(const std::string& message);

    CommandQueue& queue_;
    LiveSettings& settings_;
    ConnectionView& view_;
    GuiTimer& replyTimer_;
    const ConnectionTimings timings_;
    const std::shared_ptr<StopFlag> stop_;

    TcpClient client_;
    GatewayDialect dialect_;
    SentStatsRequests sentStats_;
    GuiTimer pollTimer_;
    GuiTimer loginTimer_;  // armed from the login lines to "2010 NAME"
    std::atomic<ConnectionStatus> status_{ConnectionStatus::None};

    mutable std::mutex mutex_;
    std::condition_variable requests_;
    std::uint64_t epoch_ = 0;  // raised by goOffline: cancels the attempt under way
    bool pending_ = false;
    bool busy_ = false;
    std::uint64_t busyEpoch_ = 0;
    std::chrono::milliseconds pendingPause_{0};  // of the pending request
    RetryPause retryPause_;
    bool loginUnderWay_ = false;
    std::string attemptAccount_;   // user and password of the login under way
    std::string loggedInAccount_;  // of the last login that worked
    // The Automatic server type: what the attempt under way tries, and what each gateway
    // turned out to be during this run.
    bool automaticAttempt_ = false;
    bool tryPvpgnNext_ = false;
    std::string attemptGateway_;
    ServerType attemptType_ = ServerType::Classic;
    std::map<std::string, ServerType> foundTypes_;
    std::chrono::steady_clock::time_point loggedInAt_;
    StatusDisplay shown_{"Offline", ConnectionStatus::Offline, {}};
    std::thread worker_;
};

}  // namespace tesk
