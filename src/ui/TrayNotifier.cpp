#include "ui/TrayNotifier.h"

#include <QMenu>
#include <QPixmap>
#include <algorithm>

#include "platform/SoundPlayer.h"
#include "ui/ImageList.h"
#include "watch/ShownText.h"

namespace tesk {

namespace {

// Stands for "no picture" until the first tip is set; an icon without any picture
// would make Qt complain when the icon is added.
QIcon blankIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

}  // namespace

TrayNotifier::TrayNotifier(SoundPlayer& sounds, std::function<bool()> soundsOn,
                           std::chrono::milliseconds trayTimerInterval,
                           std::function<bool()> trayAvailable,
                           std::chrono::milliseconds trayPollInterval, QObject* parent)
    : QObject(parent),
      sounds_(sounds),
      soundsOn_(std::move(soundsOn)),
      trayAvailable_(std::move(trayAvailable)),
      trayTimer_(trayTimerInterval, [this] { showStatusTip(); }) {
    trayPoll_.setInterval(trayPollInterval);
    connect(&trayPoll_, &QTimer::timeout, this, &TrayNotifier::addIconIfTray);
}

void TrayNotifier::setMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_ != nullptr) {
        icon_->setContextMenu(menu);
    }
}

void TrayNotifier::show() {
    addIconIfTray();
    if (icon_ == nullptr) {
        trayPoll_.start();
    }
}

// The icon is made only when a tray is there: the first icon Qt makes fixes how it reaches
// the tray for the rest of the run.
void TrayNotifier::addIconIfTray() {
    if (icon_ != nullptr || !trayAvailable_()) {
        return;
    }
    trayPoll_.stop();
    icon_ = new QSystemTrayIcon(image_ >= 0 ? images::icon(image_) : blankIcon(), this);
    icon_->setToolTip(plainToolTip(shownTip()));
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, &TrayNotifier::onActivated);
    icon_->show();
    emit iconAdded();
}

void TrayNotifier::remove() {
    trayPoll_.stop();
    if (icon_ != nullptr) {
        icon_->hide();
    }
}

bool TrayNotifier::hasIcon() const {
    return icon_ != nullptr && icon_->isVisible();
}

bool TrayNotifier::showMessage(const QString& text) {
    if (!hasIcon()) {
        return false;
    }
    icon_->showMessage(QStringLiteral("TESK"), text, images::applicationIcon());
    return true;
}

void TrayNotifier::showStatusTip() {
    apply(QStringLiteral("TESK: ") + status_, images::kUserBadge);
}

void TrayNotifier::announceOnline(const QString& name) {
    if (soundsOn_()) {
        sounds_.play(QString::fromLatin1(kOnlineSound));
    }
    apply(QStringLiteral("TESK: User ") + name + QStringLiteral(" is online"), images::kUser);
    trayTimer_.arm();
}

void TrayNotifier::announceNewMessage(const QString& name) {
    apply(QStringLiteral("TESK: New message from ") + name, images::kEnvelope);
}

void TrayNotifier::setTip(const QString& tip) {
    apply(tip, image_);
}

QString TrayNotifier::shownTip() const {
    int length = std::min<int>(tip_.size(), kMaxShownTip);
    // Never leave half of a surrogate pair at the end.
    if (length < tip_.size() && length > 0 && tip_.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return tip_.left(length);
}

void TrayNotifier::apply(const QString& tip, int image) {
    tip_ = tip;
    image_ = image;
    if (icon_ == nullptr) {
        return;
    }
    if (image_ >= 0) {
        icon_->setIcon(images::icon(image_));
    }
    icon_->setToolTip(plainToolTip(shownTip()));
}

void TrayNotifier::onActivated(QSystemTrayIcon::ActivationReason reason) {
    // The right button is served by the context menu itself.
    if (reason == QSystemTrayIcon::Trigger) {
        emit clicked();
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        emit doubleClicked();
    }
}

}  // namespace tesk
