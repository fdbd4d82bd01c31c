#include "ui/TrayHint.h"

#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "ui/MainForm.h"

namespace tesk {

const QString TrayHint::kText = QStringLiteral(
    "TESK keeps running in the system tray. Click the icon to bring the window back; "
    "right-click it and choose Exit to end TESK.");

TrayHint::TrayHint(MainForm& window, std::function<bool(const QString&)> notify, QString iniPath,
                   bool shownBefore)
    : notify_(std::move(notify)), iniPath_(std::move(iniPath)), shown_(shownBefore) {
    connect(&window, &MainForm::closedToTray, this, &TrayHint::windowClosedToTray);
}

void TrayHint::windowClosedToTray() {
    if (shown_ || !notify_(kText)) {
        return;
    }
    shown_ = true;
    unsaved_ = !markInFile();
}

void TrayHint::saveAtExit() {
    if (unsaved_) {
        markInFile();
    }
}

bool TrayHint::markInFile() const {
    IniFile ini(iniPath_);
    if (!ini.exists()) {
        return false;
    }
    writeTrayHintShown(ini);
    ini.flush();
    return true;
}

}  // namespace tesk
