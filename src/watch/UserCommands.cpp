#include "watch/UserCommands.h"

#include <QUrl>

#include "connection/Protocol.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"
#include "watch/WatchedUser.h"

namespace tesk {

namespace {
constexpr const char* kProfilePage = "http://www.battle.net/war3/ladder/war3-player-profile.aspx";

QByteArray encoded(const std::string& part) {
    return QUrl::toPercentEncoding(QString::fromStdString(part));
}
}  // namespace

bool isWarcraftIIIName(const std::string& name) {
    const std::size_t at = name.find('@');
    return at != std::string::npos && at >= 1;
}

StatsEntries statsEntriesFor(const std::string& name, bool pvpgn) {
    if (pvpgn) {
        return {true, true, false};
    }
    const bool warcraftIII = isWarcraftIIIName(name);
    return {warcraftIII, !warcraftIII, warcraftIII};
}

UserMenuState userMenuFor(int selectedRows, ConnectionStatus status, bool anonymous,
                          const std::string& firstSelectedName, bool pvpgn) {
    UserMenuState state{statsEntriesFor(firstSelectedName, pvpgn)};
    if (selectedRows == 1 && !isOffline(status)) {
        state.chat = !anonymous;
        state.statistics = true;
    }
    return state;
}

QString playerProfileUrl(const std::string& name) {
    const std::size_t at = name.find('@');
    const std::string player = at == std::string::npos ? std::string() : name.substr(0, at);
    const std::string gateway = at == std::string::npos ? name : name.substr(at + 1);
    return QString(kProfilePage) + "?Gateway=" + encoded(gateway) +
           "&PlayerName=" + encoded(player);
}

QString userInfoTip(const std::string& name, const WatchedUser& user, const std::string& seen) {
    QStringList lines{shownText(name, RemoteTextLimits::kShownLineBytes)};
    const auto add = [&](const char* label, const std::string& text) {
        if (!text.empty()) {
            lines << QString(label) + shownText(text, RemoteTextLimits::kShownLineBytes);
        }
    };
    add("* ", placeText(user));
    add("* program: ", user.program);
    add("* away: ", user.awayMessage);
    add("* dnd: ", user.dndMessage);
    add("* ", seen);
    return lines.join('\n');
}

std::string statsCommand(const std::string& name, const char* productCode) {
    return protocol::kStatsPrefix + name + " " + productCode;
}

}  // namespace tesk
