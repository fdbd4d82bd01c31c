#pragma once

#include <cstddef>
#include <string>

#include "connection/ConnectionStatus.h"
#include "connection/ServerEvent.h"
#include "watch/StrangerWhispers.h"

namespace tesk {

// What a front end shows of the session: the windows, or the headless printer. Every
// call arrives on the GUI thread.
class SessionView {
public:
    virtual ~SessionView() = default;

    // The connection's status changed, or is shown again.
    virtual void showStatus(const StatusDisplay& display) = 0;
    // An error the user must see; the windows show a box and return once it is dismissed.
    virtual void showError(const std::string& message) = 0;
    // A line of the program's own for the console: a retry, a kick, a dropped whisper.
    virtual void showNote(const std::string& text) = 0;
    // A received line as the console shows it.
    virtual void showLog(const LogEntry& entry) = 0;
    // A watched user went from offline to online.
    virtual void announceOnline(const std::string& name) = 0;
};

// Where a partner's conversation stands on screen.
enum class ChatShown { None, Hidden, Visible };

// What a front end shows of the conversations: whispers and statistics.
class ConversationView {
public:
    virtual ~ConversationView() = default;

    virtual ChatShown chatShown(const std::string& partner) const = 0;
    // Adds the line to the partner's conversation, made hidden when there is none;
    // `openNow` shows it at once.
    virtual void showSaid(const std::string& partner, const HeldWhisper& said, bool openNow) = 0;
    // A watched partner's line arrived: the tray notice, and the chime when asked for.
    virtual void announceMessage(const std::string& partner, bool chime) = 0;
    // A whisper the user may be told of outside its window: a line in a conversation, a
    // stranger's line that opened one, or the first held line of a new partner.
    virtual void notifyWhisper(const std::string& partner, const std::string& text) = 0;
    // How many whisper lines wait for the user to open their windows.
    virtual void showHeldLines(std::size_t count) = 0;
    virtual void showStats(const StatsAnswer& reply) = 0;
};

}  // namespace tesk
