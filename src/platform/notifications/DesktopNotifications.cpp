#include "platform/notifications/DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <utility>

#include "platform/DesktopFileName.h"

namespace tesk {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kOpenAction = QStringLiteral("open");

}  // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QString appIcon, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), appIcon_(std::move(appIcon)) {
    // Any sender: naming the service would make Qt ask the bus for its owner and wait.
    bus_.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(QString(), kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
}

void DesktopNotifications::notify(const QString& user, const DesktopNotice& notice) {
    notices_[user].waiting = notice;
    sendWaiting(user);
}

// Whether bodies must be escaped depends on the service, which is asked once it is needed.
void DesktopNotifications::askCapabilities() {
    markup_ = Markup::Asking;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, "GetCapabilities");
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        if (reply.isError()) {
            // No service to show them: the notices waiting are dropped, and the next one
            // asks again.
            markup_ = Markup::Unknown;
            for (auto it = notices_.begin(); it != notices_.end();) {
                it->second.waiting.reset();
                it = it->second.id == 0 && !it->second.sending ? notices_.erase(it) : ++it;
            }
            return;
        }
        markup_ =
            reply.value().contains(QStringLiteral("body-markup")) ? Markup::Read : Markup::Shown;
        for (const auto& [user, notice] : notices_) {
            sendWaiting(user);
        }
    });
}

void DesktopNotifications::sendWaiting(const QString& user) {
    UserNotice& slot = notices_[user];
    if (slot.sending || !slot.waiting) {
        return;  // a notice still on its way is answered first, so the next can replace it
    }
    if (markup_ == Markup::Unknown) {
        askCapabilities();
    }
    if (markup_ == Markup::Asking) {
        return;
    }
    const DesktopNotice notice = *std::exchange(slot.waiting, std::nullopt);
    slot.sending = true;
    QStringList actions;
    if (!notice.openTarget.empty()) {
        actions << kOpenAction << QStringLiteral("Open");
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    call << QStringLiteral("TESK") << slot.id << appIcon_ << notice.summary
         << notificationBody(notice.body, markup_ == Markup::Read) << actions
         << QVariantMap{{QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopFileName)}}
         << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, user, target = notice.openTarget](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<uint> reply = *w;
                UserNotice& slot = notices_[user];
                slot.sending = false;
                if (reply.isValid()) {
                    slot.id = reply.value();
                    slot.openTarget = target;
                }
                if (slot.waiting) {
                    sendWaiting(user);
                } else if (slot.id == 0) {
                    notices_.erase(user);
                }
            });
}

std::map<QString, DesktopNotifications::UserNotice>::iterator DesktopNotifications::showing(
    uint id) {
    auto it = notices_.begin();
    while (it != notices_.end() && (id == 0 || it->second.id != id)) {
        ++it;
    }
    return it;
}

void DesktopNotifications::actionInvoked(uint id, const QString& action) {
    const auto found = showing(id);
    if (action == kOpenAction && found != notices_.end() && !found->second.openTarget.empty()) {
        emit openRequested(found->second.openTarget);
    }
}

// A closed notification cannot be replaced any more; forgetting it also keeps the map to
// the notices on screen.
void DesktopNotifications::notificationClosed(uint id, uint) {
    const auto found = showing(id);
    if (found == notices_.end()) {
        return;
    }
    if (found->second.sending || found->second.waiting) {
        found->second.id = 0;
    } else {
        notices_.erase(found);
    }
}

QString notificationBody(const QString& text, bool serviceReadsMarkup) {
    QString body = text;
    if (body.size() > DesktopNotifications::kMaxBodyCharacters) {
        qsizetype keep = DesktopNotifications::kMaxBodyCharacters - 1;
        if (body.at(keep - 1).isHighSurrogate()) {
            --keep;  // never half of a character
        }
        body = body.left(keep) + QChar(0x2026);
    }
    // Services that read markup take the body as XML text.
    return serviceReadsMarkup ? body.toHtmlEscaped() : body;
}

QString applicationIconUri() {
    const QString picture = QStringLiteral("icons/hicolor/48x48/apps/tesk.png");
    for (const QString& folder :
         {QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share"),
          QStringLiteral(TESK_BUILD_DATA_DIR)}) {
        const QFileInfo file(QDir(folder), picture);
        if (file.isFile()) {
            return QUrl::fromLocalFile(file.absoluteFilePath()).toString();
        }
    }
    return QStringLiteral("tesk");
}

}  // namespace tesk
