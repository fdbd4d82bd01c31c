#pragma once

#include <string>
#include <vector>

#include "connection/ConnectionView.h"
#include "connection/ServerEvent.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

namespace tesk::test {

// The watch list wired to the connection the way the main window wires it.
class WatchListWiring : public ConnectionView, public ServerEventSink, public OnlineAnnouncer {
public:
    explicit WatchListWiring(WatchListModel& list) : list_(list) {}
    void displayStatus(const StatusDisplay&) override {}
    std::vector<std::string> namesToPoll() override { return list_.names(); }
    void resetWatchRows() override { list_.resetAll(); }
    void showError(const std::string& message) override { errors.push_back(message); }
    void handle(const ServerEvent& event) override {
        if (const auto* answer = std::get_if<WhoisAnswer>(&event)) {
            updateUser(list_, *answer, *this);
        }
    }
    void announceOnline(const std::string& name) override { announced.push_back(name); }

    std::vector<std::string> errors;
    std::vector<std::string> announced;

private:
    WatchListModel& list_;
};

}  // namespace tesk::test
