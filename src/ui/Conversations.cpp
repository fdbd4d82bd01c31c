#include "ui/Conversations.h"

#include "platform/GuiThread.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "ui/DesktopNotices.h"
#include "ui/TrayNotifier.h"
#include "watch/Products.h"
#include "watch/ServerReplies.h"
#include "watch/ShownText.h"

namespace tesk {

namespace {

template <typename Window>
Window* lookUp(const std::map<std::string, QPointer<Window>>& windows, const std::string& key) {
    const auto found = windows.find(key);
    return found == windows.end() ? nullptr : found->second.data();
}

}  // namespace

Conversations::Conversations(ChatContext chatContext, Session& session, TrayNotifier& tray,
                             SoundPlayer& sounds, std::function<bool()> mainWindowVisible)
    : chatContext_(std::move(chatContext)),
      session_(session),
      tray_(tray),
      sounds_(sounds),
      mainWindowVisible_(std::move(mainWindowVisible)) {}

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
    for (const HeldWhisper& whisper : session_.releaseHeld(name)) {
        append(chat, whisper);
    }
    chat->show();
    chat->raise();
    chat->activateWindow();
    session_.chatOpened(name);
}

StatsForm* Conversations::findStats(const std::string& name) const {
    return lookUp(stats_, windowKey(name, "StatsForm"));
}

QString Conversations::shown(const std::string& text) const {
    return shownText(text, chatContext_.limits.shownLineBytes);
}

ChatShown Conversations::chatShown(const std::string& partner) const {
    const ChatForm* chat = findChat(partner);
    if (chat == nullptr) {
        return ChatShown::None;
    }
    return chat->isVisible() ? ChatShown::Visible : ChatShown::Hidden;
}

void Conversations::showSaid(const std::string& partner, const HeldWhisper& said, bool openNow) {
    TESK_ASSERT_GUI_THREAD();
    ChatForm* chat = findOrMakeChat(partner);
    if (openNow) {
        chat->show();
    }
    append(chat, said);
}

void Conversations::announceMessage(const std::string& partner, bool chime) {
    TESK_ASSERT_GUI_THREAD();
    if (!mainWindowVisible_()) {
        tray_.announceNewMessage(shown(partner));
    }
    if (chime) {
        sounds_.play(kMessageSound);
    }
}

void Conversations::notifyWhisper(const std::string& partner, const std::string& text) {
    TESK_ASSERT_GUI_THREAD();
    const ChatForm* chat = findChat(partner);
    if (notices_ != nullptr && (chat == nullptr || !chat->isActiveWindow())) {
        notices_->whisper(partner, text);
    }
}

void Conversations::append(ChatForm* chat, const HeldWhisper& whisper) {
    chat->appendHeader(shown(whisper.speaker), whisper.time);
    chat->appendBody(shown(whisper.text), !whisper.incoming);
    if (whisper.refusal) {
        chat->appendRefusal(shown(*whisper.refusal));
    }
}

std::vector<std::string> Conversations::heldPartners() const {
    return session_.heldPartners();
}

void Conversations::showHeldLines(std::size_t count) {
    if (heldChanged_) {
        heldChanged_(count);
    }
}

void Conversations::showStats(const StatsAnswer& reply) {
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
