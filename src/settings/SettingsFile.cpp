#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>

#include "settings/IniFile.h"
#include "settings/PasswordScrambler.h"

namespace tesk {

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kServerTypeKey = "ServerType";

ServerType serverTypeFrom(int stored) {
    return stored == static_cast<int>(ServerType::PvPGN) ? ServerType::PvPGN : ServerType::Classic;
}

bool hasKey(const IniFile& ini, const char* key) {
    // No stored value can hold a line feed, so this default marks a missing key.
    return ini.readString(kSection, key, "\n") != "\n";
}
}  // namespace

SettingsValues readSettings(const IniFile& ini) {
    const SettingsValues defaults;
    SettingsValues values;
    values.minimize = ini.readBool(kSection, "Minimize", defaults.minimize);
    values.officeXp = ini.readBool(kSection, "OfficeXP", defaults.officeXp);
    values.sounds = ini.readBool(kSection, "Sounds", defaults.sounds);
    values.gateway = ini.readString(kSection, "Gateway", defaults.gateway);
    values.serverType = serverTypeFrom(
        ini.readInteger(kSection, kServerTypeKey, static_cast<int>(defaults.serverType)));
    values.force = ini.readBool(kSection, "Force", defaults.force);
    values.anonymous = ini.readBool(kSection, "Anonymous", defaults.anonymous);
    values.user = ini.readString(kSection, "User", defaults.user);
    values.password = decodeStoredPassword(ini.readString(kSection, "Password", ""));
    return values;
}

void writeSettings(IniFile& ini, const SettingsValues& values) {
    ini.writeBool(kSection, "Minimize", values.minimize);
    ini.writeBool(kSection, "OfficeXP", values.officeXp);
    ini.writeBool(kSection, "Sounds", values.sounds);
    ini.writeString(kSection, "Gateway", values.gateway);
    ini.writeBool(kSection, "Force", values.force);
    ini.writeBool(kSection, "Anonymous", values.anonymous);
    ini.writeString(kSection, "User", values.user);
    ini.writeString(kSection, "Password", encodeStoredPassword(values.password));
    // A file that never chose another server type stays as it was.
    if (values.serverType != ServerType::Classic || hasKey(ini, kServerTypeKey)) {
        ini.writeInteger(kSection, kServerTypeKey, static_cast<int>(values.serverType));
    }
}

QString iniPathBesideExecutable() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("Tesk.ini");
}

}  // namespace tesk
