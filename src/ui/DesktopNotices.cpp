#include "ui/DesktopNotices.h"

#include "platform/notifications/DesktopNotifications.h"
#include "settings/LiveSettings.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"
#include "watch/UserName.h"
#include "watch/WatchedUser.h"

namespace tesk {

namespace {

QString shown(const std::string& text) {
    return shownText(text, RemoteTextLimits::kShownLineBytes);
}

// One notice per user, whatever the letter case the server or the list gives his name.
QString userKey(const std::string& name) {
    return QString::fromStdString(lowerCaseName(name));
}

}  // namespace

DesktopNotices::DesktopNotices(DesktopNotifications& service, const LiveSettings& settings,
                               std::function<bool()> mainWindowActive)
    : service_(service), settings_(settings), mainWindowActive_(std::move(mainWindowActive)) {}

bool DesktopNotices::enabled() const {
    return settings_.snapshot().notifications;
}

void DesktopNotices::userOnline(const std::string& name, const WatchedUser& user) {
    if (enabled()) {
        service_.notify(userKey(name), {shown(name) + " is online", shown(placeText(user)), {}});
    }
}

void DesktopNotices::whisper(const std::string& partner, const std::string& text) {
    if (enabled() && !mainWindowActive_()) {
        service_.notify(userKey(partner), {"Message from " + shown(partner), shown(text), partner});
    }
}

}  // namespace tesk
