#pragma once

#include <QTime>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "session/SessionView.h"
#include "watch/WatchedUser.h"

namespace tesk {

class WatchListModel;

// The session without windows: every change a user would see is printed as one
// time-stamped line ("12:04 alice online, channel: Foo, program: X"). The terminal shows
// every conversation as it happens, so no whisper is held and no row is marked.
class HeadlessPrinter : public SessionView, public ConversationView {
public:
    HeadlessPrinter(WatchListModel& watchList, std::FILE* out,
                    std::function<QTime()> clock = &QTime::currentTime);

    // SessionView (the log is not printed)
    void showStatus(const StatusDisplay& display) override;
    void showError(const std::string& message) override;
    void showNote(const std::string& text) override;
    void showLog(const LogEntry&) override {}
    void announceOnline(const std::string& name) override;

    // ConversationView
    ChatShown chatShown(const std::string&) const override { return ChatShown::Visible; }
    void showSaid(const std::string& partner, const HeldWhisper& said, bool openNow) override;
    void announceMessage(const std::string&, bool) override {}
    void notifyWhisper(const std::string&, const std::string&) override {}  // printed already
    void showHeldLines(std::size_t) override {}
    void showStats(const StatsAnswer& reply) override;

private:
    void print(const std::string& text);
    void reportChangedRows();

    WatchListModel& watchList_;
    std::FILE* out_;
    std::function<QTime()> clock_;
    QTimer rowReport_;  // waits for the rest of a reply before reporting its row
    std::string shownStatus_;
    std::map<std::string, WatchedUser> shownRows_;  // by lower-cased name
};

}  // namespace tesk
