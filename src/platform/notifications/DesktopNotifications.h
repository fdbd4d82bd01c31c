#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <map>
#include <optional>
#include <string>

namespace tesk {

// What one desktop notification says, as plain text.
struct DesktopNotice {
    QString summary;
    QString body;
    std::string openTarget;  // offered as "Open" when not empty, and handed back when chosen
};

// Desktop notifications through the freedesktop notification service on a D-Bus
// connection. Every call is asynchronous, so a missing or hung service never holds up the
// GUI thread, and its failures are not reported: the program's other notices remain.
// There is at most one notification per user: a new notice replaces the last one, also
// when it comes before the service has answered for the last one. GUI thread only.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxBodyCharacters = 200;

    DesktopNotifications(QDBusConnection bus, QString appIcon, QObject* parent = nullptr);

    // `user` is the caller's key for whom the notice is about.
    void notify(const QString& user, const DesktopNotice& notice);

signals:
    void openRequested(const std::string& target);

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    enum class Markup { Unknown, Asking, Read, Shown };
    struct UserNotice {
        uint id = 0;             // the notification on screen, 0 for none
        std::string openTarget;  // of the one on screen
        bool sending = false;
        std::optional<DesktopNotice> waiting;
    };

    void askCapabilities();
    void sendWaiting(const QString& user);
    std::map<QString, UserNotice>::iterator showing(uint id);

    QDBusConnection bus_;
    const QString appIcon_;
    Markup markup_ = Markup::Unknown;
    std::map<QString, UserNotice> notices_;  // by user
};

// The body as the service is to get it: cut to kMaxBodyCharacters, the cut marked with
// "…", and with the characters of markup escaped when the service reads markup in bodies.
QString notificationBody(const QString& text, bool serviceReadsMarkup);

// The program's icon for the service: the installed picture, or the build tree's for a
// program run from there, as a file URI; else the icon theme's name.
QString applicationIconUri();

}  // namespace tesk
