#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <vector>

namespace tesk::test {

// A session bus of the test's own: dbus-daemon with a configuration that names no
// service folders, so that no notification daemon installed here is ever started on it.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when dbus-daemon is not installed or did not start.
    QString address() const { return address_; }
    // A new connection to the bus, closed with it.
    QDBusConnection connect();

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QStringList connections_;
};

// A notification service of the test's own on its own connection: it records each
// notification, answers with ids of its own, and can hold its answers back like a slow
// service.
class FakeNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice {
        uint replacesId;
        QString appIcon, summary, body;
        QStringList actions;
        uint id;
    };

    FakeNotificationServer(QDBusConnection bus, QStringList capabilities);
    ~FakeNotificationServer() override;
    bool registered() const { return registered_; }

    void holdAnswers() { holding_ = true; }
    void releaseAnswers();
    // As the user would: choosing an action, or closing the notification.
    void invokeAction(uint id, const QString& action);
    void close(uint id);

    std::vector<Notice> notices;

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);

private:
    QDBusConnection bus_;
    QStringList capabilities_;
    bool registered_ = false;
    bool holding_ = false;
    std::vector<QDBusMessage> held_;
    uint lastId_ = 0;
};

}  // namespace tesk::test
