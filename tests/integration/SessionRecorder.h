#pragma once

#include <string>
#include <vector>

#include "session/SessionView.h"

namespace tesk::test {

// What a session shows, recorded: its errors, the users announced online and every
// whisper. Every conversation counts as on screen, so no whisper is held or marked.
class SessionRecorder : public SessionView, public ConversationView {
public:
    void showStatus(const StatusDisplay&) override {}
    void showError(const std::string& message) override { errors.push_back(message); }
    void showNote(const std::string&) override {}
    void showLog(const LogEntry&) override {}
    void announceOnline(const std::string& name) override { announced.push_back(name); }

    ChatShown chatShown(const std::string&) const override { return ChatShown::Visible; }
    void showSaid(const std::string& partner, const HeldWhisper& said, bool) override {
        whispers.push_back(partner + ": " + said.text);
    }
    void announceMessage(const std::string&, bool) override {}
    void notifyWhisper(const std::string&, const std::string&) override {}
    void showHeldLines(std::size_t) override {}
    void showStats(const StatsAnswer&) override {}

    std::vector<std::string> errors;
    std::vector<std::string> announced;
    std::vector<std::string> whispers;  // "partner: text"
};

}  // namespace tesk::test
