#pragma once

#include <QString>

#include "settings/LiveSettings.h"

namespace tesk {

class IniFile;

// The "Settings" section of Tesk.ini: its twelve keys with their defaults (for a file that
// does not exist yet, the server type Automatic, notifications and the whisper history
// on), and PvPGN's quota.
SettingsValues readSettings(const IniFile& ini);

// Writes the keys in their fixed order; the password is stored scrambled, the server
// type only when it is not Classic, notifications, the history and the keyring only when
// on, or when the file already has the key, and a quota value only when it differs from
// the stock one.
void writeSettings(IniFile& ini, const SettingsValues& values);

// Removes "Password": with the keyring on, the file holds the password only until the
// keyring has confirmed that it does.
void eraseStoredPassword(IniFile& ini);

// "TrayHintShown": the tray icon has once told that closing the main window leaves TESK
// running. Kept apart from the settings dialog's keys, which never touch it.
bool readTrayHintShown(const IniFile& ini);
void writeTrayHintShown(IniFile& ini);

// "Tesk.ini" in the folder of the running executable.
QString iniPathBesideExecutable();

}  // namespace tesk
