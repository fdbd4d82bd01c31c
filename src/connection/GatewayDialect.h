#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "connection/SendQuota.h"
#include "connection/ServerEvent.h"
#include "settings/LiveSettings.h"

namespace tesk {

class StopFlag;

// A PvPGN server line in the classic form that the reader and its handlers understand:
// prompts glued in front are dropped, whois, away, offline, mode, login and statistics
// lines are reworded. Any other line comes back unchanged.
std::string classicFromPvpgn(std::string_view line);

// Whether a PvPGN line is one of its answers to "/whois": a place, a mode, offline or
// unknown. Its other lines, an empty "1018 INFO" or a quota warning among them, tell
// nothing of the user asked about.
bool isPvpgnWhoisAnswer(std::string_view line);

// The edge of the connection where the server types differ, so that everything behind it
// (the reader's cases, the handlers) sees the classic gateway: the login lines, the
// command echo that PvPGN never sends, PvPGN's wording of its replies, and its quota on
// what the client sends. For Classic every operation passes things through unchanged.
// Safe to use from any thread: the connection worker begins each connection, the writer
// announces its commands and the reader collects their echoes.
class GatewayDialect {
public:
    // A received line as the reader takes it.
    struct Reading {
        std::string classic;                       // as the classic gateway words it
        std::optional<FriendNotice> friendNotice;  // PvPGN: presence, though worded otherwise
        bool mayAnswerWhois = true;                // PvPGN: false unless isPvpgnWhoisAnswer
    };

    static constexpr std::chrono::milliseconds kQuietFor{50};
    static constexpr std::chrono::milliseconds kLongestWait{500};

    // Why a login with these settings cannot work, or null.
    static const char* loginObstacle(const SettingsValues& settings);

    // The lines that log in with these settings, in order.
    static std::vector<std::string> loginLines(const SettingsValues& settings);

    // A new connection speaks `type`; echoes owed and lines counted against the quota on
    // the one before are forgotten.
    void begin(ServerType type, const ServerQuota& quota = {});
    ServerType type() const;

    // PvPGN: how long this line must wait so that it stays within the quota; zero for
    // Classic.
    std::chrono::milliseconds quotaWait(std::string_view line) const;
    // PvPGN: the longest line the server takes; 0 (no limit) for Classic.
    std::size_t longestLine() const;

    // The reader starts or stops waiting for the next line.
    void readerWaiting(bool waiting);

    // PvPGN: before a command goes out, waits until the reader has waited kQuietFor for a
    // line (but no longer than kLongestWait), so that lines already on their way, such as
    // the greeting after the login, are handled before the command's echo.
    void awaitQuietReader(std::string_view line, StopFlag& stop);

    // The writer is about to send this line; PvPGN counts it from now on.
    void commandSending(std::string_view line);

    // The echoes the server would have sent by now, oldest first; each is handed out once.
    std::vector<std::string> takeEchoes();

    Reading read(const std::string& line) const;

private:
    bool owesEcho(std::string_view line) const;  // with the mutex held
    bool readerQuiet() const;

    mutable std::mutex mutex_;
    ServerType type_ = ServerType::Classic;
    ServerQuota quota_;
    SendQuota sent_;
    std::vector<std::string> echoes_;
    bool readerWaiting_ = false;
    std::chrono::steady_clock::time_point readerWaitingSince_;
};

}  // namespace tesk
