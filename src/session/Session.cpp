#include "session/Session.h"

#include "connection/Connection.h"
#include "platform/GuiThread.h"
#include "session/SessionView.h"
#include "watch/AddUser.h"
#include "watch/FriendNotices.h"

namespace tesk {

namespace {

// Until a front end attaches, nothing is shown: a session can be tested without one.
struct NoViews : SessionView, ConversationView {
    void showStatus(const StatusDisplay&) override {}
    void showError(const std::string&) override {}
    void showNote(const std::string&) override {}
    void showLog(const LogEntry&) override {}
    void announceOnline(const std::string&) override {}
    ChatShown chatShown(const std::string&) const override { return ChatShown::None; }
    void showSaid(const std::string&, const HeldWhisper&, bool) override {}
    void announceMessage(const std::string&, bool) override {}
    void notifyWhisper(const std::string&, const std::string&) override {}
    void showHeldLines(std::size_t) override {}
    void showStats(const StatsAnswer&) override {}
};

NoViews noViews;

}  // namespace

Session::Session(const ConnectionTimings& timings, const RemoteTextLimits& limits,
                 std::function<Clock::time_point()> clock)
    : conversations_(watchList_, settings_, history_, std::move(clock), limits),
      gateway_(std::make_unique<GatewayClient>(queue_, settings_, *this, *this, timings)) {
    attachViews(noViews, noViews);
}

Session::~Session() {
    stop();
}

void Session::attachViews(SessionView& view, ConversationView& conversations) {
    view_ = &view;
    conversationView_ = &conversations;
    conversations_.attachViews(view, conversations);
}

void Session::start() {
    gateway_->start();
}

void Session::stop() {
    gateway_.reset();
}

ConnectionStatus Session::status() const {
    return gateway_ ? gateway_->connection().status() : ConnectionStatus::None;
}

const GatewayDialect& Session::dialect() {
    return gateway_->connection().dialect();
}

void Session::chooseStatus(StatusChoice choice) {
    if (gateway_) {
        applyStatusAction(statusActionFor(choice, status()), gateway_->connection(), queue_);
    }
}

void Session::queueFront(const std::string& command) {
    queue_.putFront(command, mark::kProgram);
}

void Session::addUser(const std::string& name) {
    addWatchedUser(watchList_, queue_, status(), name);
}

void Session::goOffline() {
    if (gateway_) {
        gateway_->connection().goOffline();
    }
}

void Session::reconnectIfOnline() {
    if (gateway_) {
        gateway_->connection().reconnectIfOnline();
    }
}

std::vector<std::string> Session::historyTail(const std::string& partner) const {
    if (!settings_.snapshot().history) {
        return {};
    }
    return history_.tail(partner);
}

void Session::displayStatus(const StatusDisplay& display) {
    TESK_ASSERT_GUI_THREAD();
    view_->showStatus(display);
}

std::vector<std::string> Session::namesToPoll() {
    TESK_ASSERT_GUI_THREAD();
    return watchList_.names();
}

void Session::resetWatchRows() {
    TESK_ASSERT_GUI_THREAD();
    watchList_.resetAll();
}

void Session::showError(const std::string& message) {
    TESK_ASSERT_GUI_THREAD();
    view_->showError(message);
}

void Session::logNote(const std::string& text) {
    TESK_ASSERT_GUI_THREAD();
    view_->showNote(text);
}

void Session::handle(const ServerEvent& event) {
    TESK_ASSERT_GUI_THREAD();
    std::visit(EventHandlers{
                   [this](const LogEntry& entry) { view_->showLog(entry); },
                   [this](const WhoisAnswer& answer) { updateUser(watchList_, answer, *this); },
                   [this](const FriendNotice& notice) {
                       applyFriendNotice(notice, watchList_, queue_, *this);
                   },
                   [this](const StatsAnswer& reply) { conversationView_->showStats(reply); },
                   [this](const WhisperEvent& whisper) { conversations_.handle(whisper); },
                   [this](const WhisperRefusal& refusal) { conversations_.handle(refusal); },
               },
               event);
}

void Session::announceOnline(const std::string& name) {
    TESK_ASSERT_GUI_THREAD();
    view_->announceOnline(name);
}

}  // namespace tesk
