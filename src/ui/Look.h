#pragma once

class QApplication;

// The two looks of toolbars and menus. "Default" is the plain platform style; "OfficeXP"
// is an application style sheet with flat toolbars and menus in the Office XP manner.
// Switching is immediate for every open window.
namespace tesk {

void applyLook(QApplication& app, bool officeXp);

// "OfficeXP" or "Default".
const char* lookName(bool officeXp);

// Whether the application currently wears the "OfficeXP" look.
bool isOfficeXpLook(const QApplication& app);

}  // namespace tesk
