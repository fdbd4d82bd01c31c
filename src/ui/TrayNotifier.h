#pragma once

#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <chrono>
#include <functional>

#include "platform/GuiTimer.h"

class QMenu;

namespace tesk {

class SoundPlayer;

// The notification-area icon: its tip and picture, the notices that change them and
// TrayTimer, which takes the user-online notice down again. GUI thread only. Without a
// system tray it keeps the tip and picture but shows nothing.
class TrayNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxShownTip = 127;

    TrayNotifier(SoundPlayer& sounds, std::function<bool()> soundsOn,
                 std::function<QString()> statusCaption,  // the status button's caption now
                 std::chrono::milliseconds trayTimerInterval = std::chrono::milliseconds(10000),
                 QObject* parent = nullptr);

    void setMenu(QMenu* menu);  // opened by a right click on the icon
    void show();                // adds the icon: no picture and an empty tip until first set
    void remove();              // at exit

    // "TESK: " and the status caption, with the program's picture.
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
    void toggleRequested();  // double click on the icon
    void raiseRequested();   // single left click

private:
    void apply(const QString& tip, int image);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    SoundPlayer& sounds_;
    std::function<bool()> soundsOn_;
    std::function<QString()> statusCaption_;
    QSystemTrayIcon* icon_;  // child of this object
    GuiTimer trayTimer_;
    QString tip_;
    int image_ = -1;
};

}  // namespace tesk
