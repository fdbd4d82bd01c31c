#include "connection/GatewayDialect.h"

#include <optional>
#include <utility>

#include "connection/Protocol.h"
#include "connection/PvpgnNotices.h"
#include "connection/ServerLine.h"
#include "platform/StopFlag.h"

namespace tesk {

namespace {

using namespace protocol;

constexpr std::string_view kPrompts[] = {pvpgn::kUserPrompt, pvpgn::kPasswordPrompt};

struct WholeLine {
    std::string_view pvpgn;
    const char* classic;
};
const WholeLine kWholeLines[] = {
    {pvpgn::kUserOffline, kNotLoggedOnReply},
    {pvpgn::kUnknownUser, kNotLoggedOnReply},
    {pvpgn::kDndOff, kDndOff},
    {pvpgn::kLoginFailed, kLoginIncorrect},
    {pvpgn::kNoBotAccess, kLoginIncorrect},
};

// `phrase` with a space on each side.
std::string spaced(const char* phrase) {
    return std::string(" ") + phrase + ' ';
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The text between the quotes of a "1018 INFO" line.
std::optional<std::string_view> infoText(std::string_view line) {
    const std::string prefix = std::string(kInfo) + " \"";
    if (!startsWith(line, prefix) || line.size() <= prefix.size() || line.back() != '"') {
        return std::nullopt;
    }
    return line.substr(prefix.size(), line.size() - prefix.size() - 1);
}

// "X is using P and is currently in channel "C"." and its game forms; "You are ..." too.
std::optional<std::string> whoisPlace(std::string_view text) {
    bool you = false;
    std::size_t using_ = text.find(spaced(whois::kUsing));
    if (using_ == std::string_view::npos) {
        you = true;
        using_ = text.find(spaced(pvpgn::kAreUsing));
    }
    if (using_ == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string currently =
        std::string(" and") + (you ? " are " : " is ") + pvpgn::kCurrentlyIn;
    const std::size_t and_ = text.find(currently, using_);
    const std::string_view head = text.substr(0, and_);
    if (and_ == std::string_view::npos) {
        // "X is using P.": neither in a channel nor in a game, e.g. in a game's lobby.
        if (you || !endsWith(text, ".") || text.find(" in ", using_) != std::string_view::npos) {
            return std::nullopt;
        }
        return std::string(text.substr(0, text.size() - 1)) + ' ' + whois::kNowhere + '.';
    }
    const std::string_view where = text.substr(and_ + currently.size());
    const auto quoted = [where](std::string_view kind) -> std::optional<std::string_view> {
        if (!startsWith(where, kind) || !endsWith(where, "\".") || where.size() < kind.size() + 2) {
            return std::nullopt;
        }
        return where.substr(kind.size(), where.size() - kind.size() - 2);
    };
    if (const auto channel = quoted(pvpgn::kChannelQuote)) {
        return std::string(head) + spaced(whois::kChannel) + std::string(*channel) + '.';
    }
    if (const auto game = quoted(pvpgn::kGameQuote)) {
        return std::string(head) + spaced(whois::kInGame) + std::string(*game) + '.';
    }
    if (quoted(pvpgn::kPrivateGameQuote)) {
        return std::string(head) + ' ' + whois::kPrivateGame + '.';
    }
    return std::nullopt;
}

// "X away (M)" and "X is unavailable (M)" (a whisper to a user who refuses messages).
std::optional<std::string> modeMessage(std::string_view text) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos || !endsWith(text, ")")) {
        return std::nullopt;
    }
    const std::string name(text.substr(0, space));
    const std::string_view rest = text.substr(space);
    const std::pair<std::string, std::string> wordings[] = {
        {spaced(pvpgn::kAway) + '(', spaced(whois::kAway) + '('},
        {spaced(pvpgn::kUnavailable) + '(', spaced(whois::kRefusing) + '('},
    };
    for (const auto& [pvpgn, classic] : wordings) {
        if (startsWith(rest, pvpgn)) {
            return name + classic + std::string(rest.substr(pvpgn.size()));
        }
    }
    return std::nullopt;
}

// "X is away (M)" and "X is refusing messages (M)", which both servers word alike.
bool classicModeMessage(std::string_view text) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos || !endsWith(text, ")")) {
        return false;
    }
    const std::string_view rest = text.substr(space);
    return startsWith(rest, spaced(whois::kAway) + '(') ||
           startsWith(rest, spaced(whois::kRefusing) + '(');
}

// The first line of a Warcraft III record, worded like the other products' first line.
std::optional<std::string> recordHeading(std::string_view text) {
    const std::string_view suffix = pvpgn::kRecordHeadingEnd;
    if (!endsWith(text, suffix) || text.size() == suffix.size()) {
        return std::nullopt;
    }
    return std::string(text.substr(0, text.size() - suffix.size())) + "'s " +
           stats::kRecordHeadingEnd;
}

}  // namespace

std::string classicFromPvpgn(std::string_view line) {
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (std::string_view prompt : kPrompts) {
            if (startsWith(line, prompt)) {
                line.remove_prefix(prompt.size());
                stripped = true;
            }
        }
    }
    for (const WholeLine& whole : kWholeLines) {
        if (line == whole.pvpgn) {
            return whole.classic;
        }
    }
    if (const auto text = infoText(line)) {
        std::optional<std::string> classic = whoisPlace(*text);
        if (!classic) {
            classic = modeMessage(*text);
        }
        if (!classic) {
            classic = recordHeading(*text);
        }
        if (classic) {
            return std::string(kInfo) + " \"" + *classic + '"';
        }
    }
    return std::string(line);
}

bool isPvpgnWhoisAnswer(std::string_view line) {
    if (line == pvpgn::kUserOffline || line == pvpgn::kUnknownUser || line == kNotLoggedOnReply) {
        return true;
    }
    const auto text = infoText(line);
    return text && (whoisPlace(*text) || modeMessage(*text) || classicModeMessage(*text));
}

const char* GatewayDialect::loginObstacle(const SettingsValues& settings) {
    if (settings.serverType == ServerType::PvPGN && settings.anonymous) {
        return kAccountNeededMessage;
    }
    return nullptr;
}

std::vector<std::string> GatewayDialect::loginLines(const SettingsValues& settings) {
    if (settings.serverType == ServerType::PvPGN) {
        return {std::string(pvpgn::kLoginClass) + settings.user, settings.password};
    }
    if (settings.anonymous) {
        return {kLoginClass, kAnonymousLogin};
    }
    return {kLoginClass, settings.user, settings.password};
}

void GatewayDialect::begin(ServerType type, const ServerQuota& quota) {
    std::lock_guard<std::mutex> lock(mutex_);
    type_ = type;
    quota_ = quota;
    sent_ = SendQuota(quota);
    echoes_.clear();
}

ServerType GatewayDialect::type() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return type_;
}

std::chrono::milliseconds GatewayDialect::quotaWait(std::string_view line) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (type_ != ServerType::PvPGN) {
        return {};
    }
    const auto now = SendQuota::Clock::now();
    // Rounded up, so that the wait never ends a moment too soon.
    return std::chrono::ceil<std::chrono::milliseconds>(sent_.earliestSend(line.size(), now) - now);
}

std::size_t GatewayDialect::longestLine() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return type_ == ServerType::PvPGN ? quota_.longestLine() : 0;
}

bool GatewayDialect::owesEcho(std::string_view line) const {
    return type_ == ServerType::PvPGN && startsWith(line, "/");
}

void GatewayDialect::readerWaiting(bool waiting) {
    std::lock_guard<std::mutex> lock(mutex_);
    readerWaiting_ = waiting;
    readerWaitingSince_ = std::chrono::steady_clock::now();
}

bool GatewayDialect::readerQuiet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return readerWaiting_ && std::chrono::steady_clock::now() - readerWaitingSince_ >= kQuietFor;
}

void GatewayDialect::awaitQuietReader(std::string_view line, StopFlag& stop) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!owesEcho(line)) {
            return;
        }
    }
    const auto giveUp = std::chrono::steady_clock::now() + kLongestWait;
    while (!readerQuiet() && std::chrono::steady_clock::now() < giveUp) {
        if (!stop.sleepFor(std::chrono::milliseconds(5))) {
            return;  // shutting down
        }
    }
}

void GatewayDialect::commandSending(std::string_view line) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (type_ == ServerType::PvPGN) {
        sent_.sent(line.size(), SendQuota::Clock::now());
    }
    // PvPGN answers a command without repeating it; the reader still needs to know
    // which command the replies belong to.
    if (owesEcho(line)) {
        echoes_.emplace_back(line.substr(0, line.find_first_of("\r\n")));  // as sent
    }
}

std::vector<std::string> GatewayDialect::takeEchoes() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> taken;
    taken.swap(echoes_);
    return taken;
}

GatewayDialect::Reading GatewayDialect::read(const std::string& line) const {
    if (type() != ServerType::PvPGN) {
        return {line, std::nullopt, true};
    }
    return {classicFromPvpgn(line), pvpgnFriendNotice(line), isPvpgnWhoisAnswer(line)};
}

}  // namespace tesk
