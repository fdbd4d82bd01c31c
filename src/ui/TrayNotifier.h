#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <chrono>
#include <functional>

#include "platform/GuiTimer.h"
#include "ui/SystemTrayCheck.h"

class QMenu;

namespace tesk {

class SoundPlayer;

// The notification-area icon: its tip and picture, the notices that change them and
// TrayTimer, which takes the user-online notice down again. GUI thread only. Without a
// system tray it keeps the tip and picture, and looks for a tray every trayPollInterval
// until one appears (a desktop's tray often starts after the programs of the login).
class TrayNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxShownTip = 127;

    TrayNotifier(SoundPlayer& sounds, std::function<bool()> soundsOn,
                 std::chrono::milliseconds trayTimerInterval = std::chrono::milliseconds(10000),
                 std::function<bool()> trayAvailable = systemTrayAvailable,
                 std::chrono::milliseconds trayPollInterval = std::chrono::milliseconds(2000),
                 QObject* parent = nullptr);

    void setMenu(QMenu* menu);  // opened by a right click on the icon
    // Adds the icon, with no picture and an empty tip until first set, as soon as there is
    // a tray.
    void show();
    void remove();         // at exit
    bool hasIcon() const;  // the icon is in a tray
    // A balloon message from the icon; false when there is no icon to show it.
    bool showMessage(const QString& text);

    // What the status tip says of the connection: "Offline" until set.
    void setStatus(const QString& status) { status_ = status; }
    // "TESK: " and the status, with the program's picture.
    void showStatusTip();
    // Plays the online chime when sounds are on, shows the user picture and arms
    // TrayTimer; a notice within the countdown does not extend it.
    void announceOnline(const QString& name);
    // The envelope stays until the next event that sets the tip.
    void announceNewMessage(const QString& name);
    void setTip(const QString& tip);  // keeps the picture

    QString tip() const { return tip_; }
    int image() const { return image_; }  // main image list index; -1 before the first
    QString shownTip() const;             // the tip as the icon can show it
    bool isTrayTimerArmed() const { return trayTimer_.isArmed(); }

signals:
    void iconAdded();  // at show() or when a tray appeared later
    void clicked();    // the icon's activation: a left click
    void doubleClicked();

private:
    void addIconIfTray();
    void apply(const QString& tip, int image);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    SoundPlayer& sounds_;
    std::function<bool()> soundsOn_;
    std::function<bool()> trayAvailable_;
    QSystemTrayIcon* icon_ = nullptr;  // child of this object, made once there is a tray
    QMenu* menu_ = nullptr;
    QTimer trayPoll_;
    GuiTimer trayTimer_;
    QString status_ = QStringLiteral("Offline");
    QString tip_;
    int image_ = -1;
};

}  // namespace tesk
