#pragma once

#include <string>
#include <vector>

#include "connection/CommandQueue.h"
#include "connection/ConnectionView.h"
#include "connection/ServerEvent.h"
#include "watch/FriendNotices.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

namespace tesk::test {

// The watch list wired to the connection the way the main window wires it.
class WatchListWiring : public ConnectionView, public ServerEventSink, public OnlineAnnouncer {
public:
    WatchListWiring(WatchListModel& list, CommandQueue& queue) : list_(list), queue_(queue) {}
    void displayStatus(const StatusDisplay&) override {}
    std::vector<std::string> namesToPoll() override { return list_.names(); }
    void resetWatchRows() override { list_.resetAll(); }
    void showError(const std::string& message) override { errors.push_back(message); }
    void handle(const ServerEvent& event) override {
        if (const auto* answer = std::get_if<WhoisAnswer>(&event)) {
            updateUser(list_, *answer, *this);
        } else if (const auto* notice = std::get_if<FriendNotice>(&event)) {
            applyFriendNotice(*notice, list_, queue_, *this);
        } else if (const auto* whisper = std::get_if<WhisperEvent>(&event)) {
            whispers.push_back(whisper->partner + ": " + whisper->text);
        }
    }
    void announceOnline(const std::string& name) override { announced.push_back(name); }

    std::vector<std::string> errors;
    std::vector<std::string> announced;
    std::vector<std::string> whispers;  // "partner: text"

private:
    WatchListModel& list_;
    CommandQueue& queue_;
};

}  // namespace tesk::test
