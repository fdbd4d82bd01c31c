#pragma once

#include "session/SessionView.h"

namespace tesk::test {

// A session view for tests that look only at the windows of the conversations.
struct QuietSessionView : SessionView {
    void showStatus(const StatusDisplay&) override {}
    void showError(const std::string&) override {}
    void showNote(const std::string&) override {}
    void showLog(const LogEntry&) override {}
    void announceOnline(const std::string&) override {}
};

}  // namespace tesk::test
