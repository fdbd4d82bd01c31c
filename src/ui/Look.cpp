#include "ui/Look.h"

#include <QApplication>

namespace tesk {
namespace {

// Office XP colours: navy frame and light-blue fill for hot items, a pale blue-grey icon
// gutter on an almost white menu, toolbars on a light neutral face.
const char kOfficeXpSheet[] = R"(
QToolBar {
    background: #f1efe9;
    border: none;
    padding: 1px;
    spacing: 1px;
}
QToolBar::separator {
    background: #a7a6aa;
    width: 1px;
    height: 1px;
    margin: 3px;
}
QToolButton {
    background: transparent;
    border: 1px solid transparent;
    padding: 2px;
}
QToolButton:hover, QToolButton:checked {
    background: #c1d2ee;
    border: 1px solid #0a246a;
}
QToolButton:pressed, QToolButton:checked:hover {
    background: #98b5e2;
    border: 1px solid #0a246a;
}
QToolButton[popupMode="1"] {
    padding-right: 12px;
}
QToolButton::menu-button {
    border: 1px solid transparent;
    width: 11px;
}
QToolButton::menu-button:hover {
    border-left: 1px solid #0a246a;
}
QMenu {
    background: #fcfcfc;
    border: 1px solid #666666;
    padding: 1px;
}
QMenu::item {
    background: transparent;
    border: 1px solid transparent;
    border-left: 24px solid #dde3ed;
    padding: 3px 20px 3px 0;
}
QMenu::item:selected:enabled {
    background: #c1d2ee;
    border: 1px solid #0a246a;
    padding-left: 23px;
}
QMenu::item:disabled {
    color: #a7a6aa;
}
QMenu::icon {
    subcontrol-origin: border;
    left: 4px;
}
QMenu::separator {
    height: 7px;
    border-left: 24px solid #dde3ed;
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0.43 #fcfcfc,
        stop: 0.431 #a7a6aa, stop: 0.57 #a7a6aa, stop: 0.571 #fcfcfc);
}
)";

}  // namespace

void applyLook(QApplication& app, bool officeXp) {
    app.setStyleSheet(officeXp ? QString::fromLatin1(kOfficeXpSheet) : QString());
}

const char* lookName(bool officeXp) {
    return officeXp ? "OfficeXP" : "Default";
}

bool isOfficeXpLook(const QApplication& app) {
    return app.styleSheet() == QLatin1String(kOfficeXpSheet);
}

}  // namespace tesk
