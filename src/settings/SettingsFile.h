#pragma once

#include <QString>

#include "settings/LiveSettings.h"

namespace tesk {

class IniFile;

// The "Settings" section of Tesk.ini: its eight keys with their defaults.
SettingsValues readSettings(const IniFile& ini);

// Writes the eight keys in their fixed order; the password is stored scrambled.
void writeSettings(IniFile& ini, const SettingsValues& values);

// "Tesk.ini" in the folder of the running executable.
QString iniPathBesideExecutable();

}  // namespace tesk
