#include "ui/Conversations.h"

#include <QTime>

#include "connection/ConnectionStatus.h"
#include "platform/SoundPlayer.h"
#include "settings/LiveSettings.h"
#include "ui/TrayNotifier.h"
#include "watch/ServerReplies.h"
#include "watch/WatchListModel.h"

namespace tesk {

namespace {

template <typename Window>
Window* lookUp(const std::map<std::string, QPointer<Window>>& windows, const std::string& key) {
    const auto found = windows.find(key);
    return found == windows.end() ? nullptr : found->second.data();
}

}  // namespace

Conversations::Conversations(ChatContext chatContext, WatchListModel& watchList,
                             TrayNotifier& tray, SoundPlayer& sounds, LiveSettings& settings,
                             std::function<bool()> mainWindowVisible)
    : chatContext_(std::move(chatContext)),
      watchList_(watchList),
      tray_(tray),
      sounds_(sounds),
      settings_(settings),
      mainWindowVisible_(std::move(mainWindowVisible)) {}

Conversations::~Conversations() {
    for (auto& [key, chat] : chats_) {
        delete chat.data();
    }
    for (auto& [key, stats] : stats_) {
        delete stats.data();
    }
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
}

StatsForm* Conversations::findStats(const std::string& name) const {
    return lookUp(stats_, windowKey(name, "StatsForm"));
}

void Conversations::handleWhisperLine(const std::string& line) {
    const WhisperLine whisper = splitWhisperLine(line);
    const int row = watchList_.find(whisper.partner);
    ChatForm* chat = findChat(whisper.partner);
    if (chat == nullptr) {
        chat = findOrMakeChat(whisper.partner);
        if (row < 0) {
            chat->show();  // a partner who is not watched gets the window at once
        }
    }
    const QString partner = QString::fromStdString(whisper.partner);
    if (row >= 0) {
        if (!chat->isVisible()) {
            watchList_.setImage(row, image::kUnread);
        }
        if (!mainWindowVisible_()) {
            tray_.announceNewMessage(partner);
        }
    }
    QString speaker = partner;
    if (whisper.incoming) {
        if (row >= 0 && settings_.snapshot().sounds) {
            sounds_.play(kMessageSound);
        }
    } else {
        speaker = QString::fromStdString(settings_.snapshot().user);
    }
    chat->appendHeader(speaker, QTime::currentTime());
    chat->appendBody(QString::fromStdString(whisper.text), !whisper.incoming);
}

void Conversations::updateStats(ReaderState& state) {
    const StatsReply reply = interpretStatsReply(state.currentLine, state.lastArgument);
    state.lastArgument = reply.lastArgument;
    const std::string key = windowKey(reply.name, "StatsForm");
    StatsForm* window = lookUp(stats_, key);
    if (window == nullptr) {
        window = new StatsForm(QString::fromStdString(reply.name));
        window->setObjectName(QString::fromStdString(key));
        stats_[key] = window;
        window->show();
    }
    if (reply.heading) {
        window->addHeading(QString::fromStdString(*reply.heading));
    }
    if (reply.body) {
        window->addLine(QString::fromStdString(*reply.body));
    }
}

}  // namespace tesk
