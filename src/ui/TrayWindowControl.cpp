#include "ui/TrayWindowControl.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

#include "ui/MainForm.h"
#include "ui/TrayNotifier.h"

namespace tesk {

TrayWindowControl::TrayWindowControl(TrayNotifier& tray, MainForm& window, Clock now)
    : window_(window),
      now_(std::move(now)),
      rule_(std::chrono::milliseconds(QGuiApplication::styleHints()->mouseDoubleClickInterval())) {
    window_.setHideOnClose(tray.hasIcon());
    connect(&tray, &TrayNotifier::iconAdded, this, [this] { window_.setHideOnClose(true); });
    connect(&tray, &TrayNotifier::clicked, this,
            [this] { apply(rule_.click(now_(), window_.isVisible(), window_.isActiveWindow())); });
    connect(&tray, &TrayNotifier::doubleClicked, this, [this] {
        apply(rule_.doubleClick(now_(), window_.isVisible(), window_.isActiveWindow()));
    });
    window_.installEventFilter(this);
}

bool TrayWindowControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowDeactivate) {
        rule_.windowDeactivated(now_());
    }
    return false;
}

void TrayWindowControl::apply(TrayClickRule::Action action) {
    switch (action) {
        case TrayClickRule::Action::Show:
            window_.showWindow();
            break;
        case TrayClickRule::Action::Hide:
            window_.hideWindow();
            break;
        case TrayClickRule::Action::None:
            break;
    }
}

}  // namespace tesk
