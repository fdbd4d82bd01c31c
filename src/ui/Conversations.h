#pragma once

#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "session/SessionView.h"
#include "ui/ChatForm.h"
#include "ui/StatsForm.h"

namespace tesk {

class DesktopNotices;
class Session;
class SoundPlayer;
class TrayNotifier;

// The per-user windows: one chat window per partner and one statistics window per user,
// each found by its window key. The session decides where each whisper goes; this shows it.
class Conversations : public ConversationView {
public:
    Conversations(ChatContext chatContext, Session& session, TrayNotifier& tray,
                  SoundPlayer& sounds, std::function<bool()> mainWindowVisible);
    ~Conversations() override;

    // At exit: the windows still open go without saving their size, since exit is not the
    // user closing them.
    void discardWindows();

    ChatForm* findChat(const std::string& name) const;
    ChatForm* findOrMakeChat(const std::string& name);  // a new window stays hidden
    // The main window's Chat command and a notice's "Open"; takes the partner's unread
    // mark away and brings in the lines held for him, however his window is opened.
    void openChat(const std::string& name);
    StatsForm* findStats(const std::string& name) const;

    // Held whispers: the partners (openChat opens one's window with them).
    std::vector<std::string> heldPartners() const;
    // Told the number of held lines whenever it changes.
    void setHeldChanged(std::function<void(std::size_t)> changed) {
        heldChanged_ = std::move(changed);
    }
    void attachNotices(DesktopNotices* notices) { notices_ = notices; }

    // ConversationView
    ChatShown chatShown(const std::string& partner) const override;
    void showSaid(const std::string& partner, const HeldWhisper& said, bool openNow) override;
    void announceMessage(const std::string& partner, bool chime) override;
    // Not while the partner's window is the active one: the user is reading it.
    void notifyWhisper(const std::string& partner, const std::string& text) override;
    void showHeldLines(std::size_t count) override;
    void showStats(const StatsAnswer& reply) override;

private:
    QString shown(const std::string& text) const;
    void append(ChatForm* chat, const HeldWhisper& whisper);

    ChatContext chatContext_;
    Session& session_;
    TrayNotifier& tray_;
    SoundPlayer& sounds_;
    std::function<bool()> mainWindowVisible_;
    std::function<void(std::size_t)> heldChanged_;
    DesktopNotices* notices_ = nullptr;
    std::map<std::string, QPointer<ChatForm>> chats_;
    std::map<std::string, QPointer<StatsForm>> stats_;
};

}  // namespace tesk
