#include "ui/SystemTrayCheck.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <cstdlib>

namespace tesk {

namespace {

constexpr int kReplyTimeoutMs = 500;  // the check runs on the GUI thread

bool statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, kReplyTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// An XEmbed tray owns the selection "_NET_SYSTEM_TRAY_S" + the number of its screen.
bool xembedTrayPresent() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    bool owned = false;
    for (int screen = 0; screen < screens && !owned; ++screen) {
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()),
            nullptr);
        if (atom != nullptr && atom->atom != XCB_ATOM_NONE) {
            xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
                connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
            owned = owner != nullptr && owner->owner != XCB_NONE;
            std::free(owner);
        }
        std::free(atom);
    }
    return owned;
}

}  // namespace

bool systemTrayAvailable() {
    return (statusNotifierHostRegistered() || xembedTrayPresent()) &&
           QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace tesk
