#include "session/ConversationRules.h"

#include <QDateTime>
#include <QDir>
#include <QTime>

#include "history/HistoryLine.h"
#include "history/WhisperHistory.h"
#include "platform/GuiThread.h"
#include "session/SessionView.h"
#include "settings/LiveSettings.h"
#include "watch/WatchListModel.h"

namespace tesk {

ConversationRules::ConversationRules(WatchListModel& watchList, const LiveSettings& settings,
                                     WhisperHistory& history,
                                     std::function<Clock::time_point()> clock,
                                     const RemoteTextLimits& limits)
    : watchList_(watchList),
      settings_(settings),
      history_(history),
      clock_(std::move(clock)),
      strangers_(limits) {}

void ConversationRules::attachViews(SessionView& session, ConversationView& conversations) {
    sessionView_ = &session;
    view_ = &conversations;
}

void ConversationRules::handle(const WhisperEvent& whisper) {
    TESK_ASSERT_GUI_THREAD();
    record(whisper.partner, {whisper.incoming ? whisper.partner : settings_.snapshot().user,
                             whisper.text, whisper.incoming, QTime::currentTime()});
}

void ConversationRules::handle(const WhisperRefusal& refusal) {
    TESK_ASSERT_GUI_THREAD();
    record(refusal.partner,
           {settings_.snapshot().user, refusal.text, false, QTime::currentTime(), refusal.reason});
}

void ConversationRules::record(const std::string& partner, const HeldWhisper& said) {
    const int row = watchList_.find(partner);
    const ChatShown shown = view_->chatShown(partner);
    if (row < 0 && shown == ChatShown::None && !admitStranger(partner, said)) {
        return;
    }
    // A partner who is not watched gets his conversation on screen at once.
    view_->showSaid(partner, said, row < 0 && shown == ChatShown::None);
    // After the window was made: a window that opens shows the history written before it.
    keepInHistory(partner, said);
    if (said.incoming) {
        view_->notifyWhisper(partner, said.text);
    }
    if (row >= 0) {
        // The mark stays until the user sees the conversation; one on screen is seen.
        watchList_.setUnread(row, view_->chatShown(partner) != ChatShown::Visible);
        view_->announceMessage(partner, said.incoming && settings_.snapshot().sounds);
    }
}

bool ConversationRules::admitStranger(const std::string& partner, const HeldWhisper& said) {
    const bool held = strangers_.isHeld(partner);
    if (!held && strangers_.mayOpenWindow(clock_())) {
        return true;
    }
    if (strangers_.hold(partner, said)) {
        view_->showHeldLines(strangers_.heldLines());
        // Only his first held line, and only a few new partners per period, as with windows.
        if (!held && said.incoming && strangers_.mayTellOfHeld(clock_())) {
            view_->notifyWhisper(partner, said.text);
        }
    } else {
        sessionView_->showNote("Dropped a whisper from " + partner + ": too many held messages.");
    }
    return false;
}

void ConversationRules::keepInHistory(const std::string& partner, const HeldWhisper& said) {
    if (!settings_.snapshot().history) {
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const std::size_t maxBytes = history_.limits().lineBytes;
    std::vector<std::string> lines{historyLine(now, said.speaker, said.text, maxBytes)};
    if (said.refusal) {
        lines.push_back(historyNote(now, "Not delivered: " + *said.refusal, maxBytes));
    }
    if (!history_.append(partner, lines) && !historyFailed_) {
        historyFailed_ = true;
        sessionView_->showNote("Unable to write the whisper history in " +
                               QDir::toNativeSeparators(history_.folder()).toStdString() + ".");
    }
}

void ConversationRules::chatOpened(const std::string& partner) {
    watchList_.setUnread(watchList_.find(partner), false);
}

std::vector<HeldWhisper> ConversationRules::releaseHeld(const std::string& partner) {
    std::vector<HeldWhisper> lines = strangers_.release(partner);
    view_->showHeldLines(strangers_.heldLines());
    return lines;
}

}  // namespace tesk
