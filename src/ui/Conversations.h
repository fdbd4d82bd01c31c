#pragma once

#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "connection/ServerEvent.h"
#include "ui/ChatForm.h"
#include "ui/StatsForm.h"
#include "watch/StrangerWhispers.h"

namespace tesk {

class LiveSettings;
class SoundPlayer;
class TrayNotifier;
class WatchListModel;

// The per-user windows: one chat window per partner and one statistics window per user,
// each found by its window key, and the handlers of whisper and statistics lines.
// Whispers from names that are neither watched nor have a window open only a few new
// windows per period; the rest are held until the user opens them.
class Conversations {
public:
    using Clock = StrangerWhispers::Clock;

    Conversations(ChatContext chatContext, WatchListModel& watchList, TrayNotifier& tray,
                  SoundPlayer& sounds, LiveSettings& settings,
                  std::function<bool()> mainWindowVisible,
                  std::function<Clock::time_point()> clock = Clock::now);
    ~Conversations();

    // At exit: the windows still open go without saving their size, since exit is not the
    // user closing them.
    void discardWindows();

    ChatForm* findChat(const std::string& name) const;
    ChatForm* findOrMakeChat(const std::string& name);   // a new window stays hidden
    // The main window's Chat command; takes the partner's unread mark away.
    void openChat(const std::string& name);
    StatsForm* findStats(const std::string& name) const;

    // The events of received lines that belong to a conversation.
    void handle(const WhisperEvent& whisper);
    void handle(const WhisperRefusal& refusal);  // written where the confirmation would be
    void handle(const StatsAnswer& reply);

    // Held whispers: the partners, how many lines in all, and opening one's window with them.
    std::vector<std::string> heldPartners() const { return strangers_.partners(); }
    std::size_t heldLines() const { return strangers_.heldLines(); }
    void openHeld(const std::string& name);
    // Told the number of held lines whenever it changes.
    void setHeldChanged(std::function<void(std::size_t)> changed) {
        heldChanged_ = std::move(changed);
    }
    // Where a note for the console goes (a whisper dropped beyond the bounds).
    void setNoteSink(std::function<void(const std::string&)> sink) { noteSink_ = std::move(sink); }

private:
    QString shown(const std::string& text) const;
    // Into the partner's chat window, made, shown, marked and announced as whispers are.
    void record(const std::string& partner, const HeldWhisper& said);
    void append(ChatForm* chat, const HeldWhisper& whisper);
    // For a partner neither watched nor with a window: false when the whisper is held (or
    // dropped) instead of opening a window.
    bool admitStranger(const std::string& partner, const HeldWhisper& whisper);

    ChatContext chatContext_;
    WatchListModel& watchList_;
    TrayNotifier& tray_;
    SoundPlayer& sounds_;
    LiveSettings& settings_;
    std::function<bool()> mainWindowVisible_;
    std::function<Clock::time_point()> clock_;
    std::function<void(std::size_t)> heldChanged_;
    std::function<void(const std::string&)> noteSink_;
    StrangerWhispers strangers_;
    std::map<std::string, QPointer<ChatForm>> chats_;
    std::map<std::string, QPointer<StatsForm>> stats_;
};

}  // namespace tesk
