#pragma once

#include <QTime>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "connection/ConnectionView.h"
#include "connection/ServerEvent.h"
#include "ui/TeskApplication.h"
#include "watch/UserUpdate.h"

namespace tesk {

class CommandQueue;
class WatchListModel;

// The program without windows: the same engine, with every change a user would see
// printed as one time-stamped line ("12:04 alice online, channel: Foo, program: X").
// Uses QtCore only, so it runs where there is no display.
class HeadlessSession : public ConnectionView, public ServerEventSink, public OnlineAnnouncer {
public:
    HeadlessSession(WatchListModel& watchList, CommandQueue& queue, const std::string& accountName,
                    std::FILE* out, std::function<QTime()> clock = &QTime::currentTime);

    // ConnectionView
    void displayStatus(const StatusDisplay& display) override;
    std::vector<std::string> namesToPoll() override;
    void resetWatchRows() override;
    void showError(const std::string& message) override;
    void logNote(const std::string& text) override;

    // ServerEventSink: the rows, friend notices, whispers and statistics (the log is not
    // printed).
    void handle(const ServerEvent& event) override;

    // OnlineAnnouncer
    void announceOnline(const std::string& name) override;

private:
    void print(const std::string& text);
    void reportChangedRows();

    WatchListModel& watchList_;
    CommandQueue& queue_;  // a friend's log-on asks "/whois" at once
    const std::string accountName_;
    std::FILE* out_;
    std::function<QTime()> clock_;
    QTimer rowReport_;  // waits for the rest of a reply before reporting its row
    std::string shownStatus_;
    std::map<std::string, std::string> shownRows_;  // by lower-cased name
};

// Runs the program without windows until SIGINT or SIGTERM; saves the watch list then.
int runHeadless(const StartOptions& options);

}  // namespace tesk
