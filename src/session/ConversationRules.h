#pragma once

#include <functional>
#include <string>
#include <vector>

#include "connection/ServerEvent.h"
#include "watch/RemoteTextLimits.h"
#include "watch/StrangerWhispers.h"

namespace tesk {

class ConversationView;
class LiveSettings;
class SessionView;
class WatchListModel;
class WhisperHistory;

// Where each whisper goes. A watched partner's line goes to his conversation, made hidden
// if need be, and marks his row until the user sees it; a partner with a conversation
// gets the line there; a new partner who is neither opens a conversation at once, but
// only a few per period: the lines of further new partners are held until the user
// opens them. Which of these lines the user may also be told of outside the windows is
// decided here too, within the same limits. With the history on, every line that reaches
// a conversation (a watched partner's, or one with a window) is also kept in the partner's
// history; held and dropped lines are not.
class ConversationRules {
public:
    using Clock = StrangerWhispers::Clock;

    ConversationRules(WatchListModel& watchList, const LiveSettings& settings,
                      WhisperHistory& history, std::function<Clock::time_point()> clock,
                      const RemoteTextLimits& limits);

    void attachViews(SessionView& session, ConversationView& conversations);

    void handle(const WhisperEvent& whisper);
    // Written where the confirmation would have been, with the reason.
    void handle(const WhisperRefusal& refusal);

    // The user opened the partner's conversation: the waiting message is seen.
    void chatOpened(const std::string& partner);

    std::vector<std::string> heldPartners() const { return strangers_.partners(); }
    // The partner's held lines, oldest first; they are held no longer.
    std::vector<HeldWhisper> releaseHeld(const std::string& partner);

private:
    void record(const std::string& partner, const HeldWhisper& said);
    // For a partner neither watched nor with a conversation: false when the line is held
    // (or dropped) instead of opening one.
    bool admitStranger(const std::string& partner, const HeldWhisper& said);
    // Appends the line to the partner's history when it is on; says once per run when the
    // history cannot be written.
    void keepInHistory(const std::string& partner, const HeldWhisper& said);

    WatchListModel& watchList_;
    const LiveSettings& settings_;
    WhisperHistory& history_;
    bool historyFailed_ = false;
    std::function<Clock::time_point()> clock_;
    StrangerWhispers strangers_;
    SessionView* sessionView_ = nullptr;
    ConversationView* view_ = nullptr;
};

}  // namespace tesk
