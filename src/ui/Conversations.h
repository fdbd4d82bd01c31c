#pragma once

#include <QPointer>
#include <functional>
#include <map>
#include <string>

#include "connection/ConnectionView.h"
#include "ui/ChatForm.h"
#include "ui/StatsForm.h"

namespace tesk {

class LiveSettings;
class SoundPlayer;
class TrayNotifier;
class WatchListModel;

// The per-user windows: one chat window per partner and one statistics window per user,
// each found by its window key, and the handlers of whisper and statistics lines.
class Conversations {
public:
    Conversations(ChatContext chatContext, WatchListModel& watchList, TrayNotifier& tray,
                  SoundPlayer& sounds, LiveSettings& settings,
                  std::function<bool()> mainWindowVisible);
    // Windows still open at exit go without saving their size.
    ~Conversations();

    ChatForm* findChat(const std::string& name) const;
    ChatForm* findOrMakeChat(const std::string& name);   // a new window stays hidden
    void openChat(const std::string& name);              // the main window's Chat command
    StatsForm* findStats(const std::string& name) const;

    void handleWhisperLine(const std::string& line);
    void updateStats(ReaderState& state);

private:
    ChatContext chatContext_;
    WatchListModel& watchList_;
    TrayNotifier& tray_;
    SoundPlayer& sounds_;
    LiveSettings& settings_;
    std::function<bool()> mainWindowVisible_;
    std::map<std::string, QPointer<ChatForm>> chats_;
    std::map<std::string, QPointer<StatsForm>> stats_;
};

}  // namespace tesk
