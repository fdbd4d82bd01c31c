#include "ui/Conversations.h"

#include <QTime>

#include "platform/GuiThread.h"
#include "platform/SoundPlayer.h"
#include "settings/LiveSettings.h"
#include "ui/TrayNotifier.h"
#include "watch/Products.h"
#include "watch/ServerReplies.h"
#include "watch/ShownText.h"
#include "watch/WatchListModel.h"

namespace tesk {

namespace {

template <typename Window>
Window* lookUp(const std::map<std::string, QPointer<Window>>& windows, const std::string& key) {
    const auto found = windows.find(key);
    return found == windows.end() ? nullptr : found->second.data();
}

}  // namespace

Conversations::Conversations(ChatContext chatContext, WatchListModel& watchList, TrayNotifier& tray,
                             SoundPlayer& sounds, LiveSettings& settings,
                             std::function<bool()> mainWindowVisible,
                             std::function<Clock::time_point()> clock)
    : chatContext_(std::move(chatContext)),
      watchList_(watchList),
      tray_(tray),
      sounds_(sounds),
      settings_(settings),
      mainWindowVisible_(std::move(mainWindowVisible)),
      clock_(std::move(clock)),
      strangers_(chatContext_.limits) {}

Conversations::~Conversations() {
    discardWindows();
}

void Conversations::discardWindows() {
    for (auto& [key, chat] : chats_) {
        delete chat.data();
    }
    for (auto& [key, stats] : stats_) {
        delete stats.data();
    }
    chats_.clear();
    stats_.clear();
}

ChatForm* Conversations::findChat(const std::string& name) const {
    return lookUp(chats_, windowKey(name, "ChatForm"));
}

ChatForm* Conversations::findOrMakeChat(const std::string& name) {
    if (ChatForm* existing = findChat(name)) {
        return existing;
    }
    auto* chat = new ChatForm(name, chatContext_);
    chat->setObjectName(QString::fromStdString(windowKey(name, "ChatForm")));
    chats_[windowKey(name, "ChatForm")] = chat;
    return chat;
}

void Conversations::openChat(const std::string& name) {
    ChatForm* chat = findOrMakeChat(name);
    chat->show();
    chat->raise();
    chat->activateWindow();
    watchList_.setUnread(watchList_.find(name), false);  // the waiting message is seen
}

StatsForm* Conversations::findStats(const std::string& name) const {
    return lookUp(stats_, windowKey(name, "StatsForm"));
}

QString Conversations::shown(const std::string& text) const {
    return shownText(text, chatContext_.limits.shownLineBytes);
}

void Conversations::handle(const WhisperEvent& whisper) {
    TESK_ASSERT_GUI_THREAD();
    record(whisper.partner, {whisper.incoming ? whisper.partner : settings_.snapshot().user,
                             whisper.text, whisper.incoming, QTime::currentTime()});
}

// Written where its confirmation would have been, with the reason under it.
void Conversations::handle(const WhisperRefusal& refusal) {
    TESK_ASSERT_GUI_THREAD();
    record(refusal.partner,
           {settings_.snapshot().user, refusal.text, false, QTime::currentTime(), refusal.reason});
}

void Conversations::record(const std::string& partner, const HeldWhisper& said) {
    const int row = watchList_.find(partner);
    ChatForm* chat = findChat(partner);
    if (row < 0 && chat == nullptr && !admitStranger(partner, said)) {
        return;
    }
    if (chat == nullptr) {
        chat = findOrMakeChat(partner);
        if (row < 0) {
            chat->show();  // a partner who is not watched gets the window at once
        }
    }
    if (row >= 0) {
        // The mark stays until the user sees the chat window; one on screen is seen.
        watchList_.setUnread(row, !chat->isVisible());
        if (!mainWindowVisible_()) {
            tray_.announceNewMessage(shown(partner));
        }
    }
    if (said.incoming && row >= 0 && settings_.snapshot().sounds) {
        sounds_.play(kMessageSound);
    }
    append(chat, said);
}

bool Conversations::admitStranger(const std::string& partner, const HeldWhisper& whisper) {
    if (!strangers_.isHeld(partner) && strangers_.mayOpenWindow(clock_())) {
        return true;
    }
    if (strangers_.hold(partner, whisper)) {
        if (heldChanged_) {
            heldChanged_(strangers_.heldLines());
        }
    } else if (noteSink_) {
        noteSink_("Dropped a whisper from " + partner + ": too many held messages.");
    }
    return false;
}

void Conversations::append(ChatForm* chat, const HeldWhisper& whisper) {
    chat->appendHeader(shown(whisper.speaker), whisper.time);
    chat->appendBody(shown(whisper.text), !whisper.incoming);
    if (whisper.refusal) {
        chat->appendRefusal(shown(*whisper.refusal));
    }
}

void Conversations::openHeld(const std::string& name) {
    const std::vector<HeldWhisper> lines = strangers_.release(name);
    ChatForm* chat = findOrMakeChat(name);
    for (const HeldWhisper& whisper : lines) {
        append(chat, whisper);
    }
    openChat(name);
    if (heldChanged_) {
        heldChanged_(strangers_.heldLines());
    }
}

void Conversations::handle(const StatsAnswer& reply) {
    TESK_ASSERT_GUI_THREAD();
    const std::string key = windowKey(reply.name, "StatsForm");
    StatsForm* window = lookUp(stats_, key);
    if (window == nullptr) {
        window = new StatsForm(shown(reply.name), chatContext_.limits);
        window->setObjectName(QString::fromStdString(key));
        stats_[key] = window;
        window->show();
    }
    if (reply.productCode) {
        window->addHeading(shown(statsHeading(*reply.productCode)));
    }
    if (reply.body) {
        window->addLine(shown(*reply.body));
    }
}

}  // namespace tesk
