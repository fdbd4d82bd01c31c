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
                           std::function<QString()> statusCaption,
                           std::chrono::milliseconds trayTimerInterval, QObject* parent)
    : QObject(parent),
      sounds_(sounds),
      soundsOn_(std::move(soundsOn)),
      statusCaption_(std::move(statusCaption)),
      icon_(new QSystemTrayIcon(blankIcon(), this)),
      trayTimer_(trayTimerInterval, [this] { showStatusTip(); }) {
    connect(icon_, &QSystemTrayIcon::activated, this, &TrayNotifier::onActivated);
}

void TrayNotifier::setMenu(QMenu* menu) {
    icon_->setContextMenu(menu);
}

void TrayNotifier::show() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        icon_->show();
    }
}

void TrayNotifier::remove() {
    icon_->hide();
}

void TrayNotifier::showStatusTip() {
    apply(QStringLiteral("TESK: ") + statusCaption_(), images::kUserBadge);
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
    if (image_ >= 0) {
        icon_->setIcon(images::icon(image_));
    }
    icon_->setToolTip(plainToolTip(shownTip()));
}

void TrayNotifier::onActivated(QSystemTrayIcon::ActivationReason reason) {
    // The right button is served by the context menu itself.
    if (reason == QSystemTrayIcon::DoubleClick) {
        emit toggleRequested();
    } else if (reason == QSystemTrayIcon::Trigger) {
        emit raiseRequested();
    }
}

}  // namespace tesk
