#pragma once

#include <functional>
#include <string>
#include <vector>

#include "connection/CommandQueue.h"
#include "connection/ConnectionTimings.h"
#include "connection/ConnectionView.h"
#include "connection/GatewayClient.h"
#include "connection/ServerEvent.h"
#include "connection/StatusCommands.h"
#include "history/WhisperHistory.h"
#include "session/ConversationRules.h"
#include "settings/LiveSettings.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

namespace tesk {

class Connection;
class GatewayDialect;
class ConversationView;
class SessionView;

// One run of the client, whatever shows it: the command queue, the live settings, the
// watch list, the gateway client and the rules of the conversations, wired together
// once. Server events update the watch list and the conversations here; what a user
// would see goes to the attached views. GUI thread only; destruction stops every worker.
class Session : public ConnectionView, public ServerEventSink, public OnlineAnnouncer {
public:
    using Clock = ConversationRules::Clock;

    explicit Session(const ConnectionTimings& timings = {}, const RemoteTextLimits& limits = {},
                     std::function<Clock::time_point()> clock = Clock::now);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The views live at least until stop() or the session's end.
    void attachViews(SessionView& view, ConversationView& conversations);
    // Connects to the gateway.
    void start();
    // Stops and joins the workers; nothing reaches the views afterwards.
    void stop();

    CommandQueue& queue() { return queue_; }
    LiveSettings& settings() { return settings_; }
    WatchListModel& watchList() { return watchList_; }
    Connection& connection() { return gateway_->connection(); }  // until stop()
    ConnectionStatus status() const;
    // How the gateway speaks: which server it is, what a line may hold.
    const GatewayDialect& dialect();  // until stop()

    // The user's commands.
    void chooseStatus(StatusChoice choice);
    void queueFront(const std::string& command);  // a command of the program's own
    void addUser(const std::string& name);        // watched, and asked about at once
    void goOffline();
    // New settings: a connection that is up logs in again with them.
    void reconnectIfOnline();

    // Where the whisper history is kept; until this is called, nowhere.
    void keepHistoryIn(const QString& folder) { history_.setFolder(folder); }

    // The conversations.
    void chatOpened(const std::string& partner) { conversations_.chatOpened(partner); }
    std::vector<std::string> heldPartners() const { return conversations_.heldPartners(); }
    std::vector<HeldWhisper> releaseHeld(const std::string& partner) {
        return conversations_.releaseHeld(partner);
    }
    // The last lines of the partner's history, oldest first; none while the history is off.
    std::vector<std::string> historyTail(const std::string& partner) const;
    void deleteHistory(const std::string& partner) { history_.remove(partner); }

    // ConnectionView
    void displayStatus(const StatusDisplay& display) override;
    std::vector<std::string> namesToPoll() override;
    void resetWatchRows() override;
    void showError(const std::string& message) override;
    void logNote(const std::string& text) override;

    // ServerEventSink
    void handle(const ServerEvent& event) override;

    // OnlineAnnouncer
    void announceOnline(const std::string& name) override;

private:
    CommandQueue queue_;
    LiveSettings settings_;
    WatchListModel watchList_;
    WhisperHistory history_;
    ConversationRules conversations_;
    SessionView* view_;
    ConversationView* conversationView_;
    std::unique_ptr<GatewayClient> gateway_;
};

}  // namespace tesk
