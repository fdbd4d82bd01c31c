#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>

#include <string>
#include <variant>

#include "settings/IniFile.h"
#include "settings/PasswordScrambler.h"

namespace tesk {

namespace {
constexpr const char* kSection = "Settings";

using Flag = bool SettingsValues::*;
using Text = std::string SettingsValues::*;
using Choice = ServerType SettingsValues::*;

// A key of the section and the value it holds.
struct SettingsKey {
    const char* name;
    std::variant<Flag, Text, Choice> field;
};

// Read and written in this order.
const SettingsKey kKeys[] = {
    {"Minimize", &SettingsValues::minimize},
    {"OfficeXP", &SettingsValues::officeXp},
    {"Sounds", &SettingsValues::sounds},
    {"Notifications", &SettingsValues::notifications},  // written only once on: writeSettings
    {"History", &SettingsValues::history},              // likewise
    {"Gateway", &SettingsValues::gateway},
    {"Force", &SettingsValues::force},
    {"Anonymous", &SettingsValues::anonymous},
    {"User", &SettingsValues::user},
    {"Password", &SettingsValues::password},
    {"ServerType", &SettingsValues::serverType},
    {"Keyring", &SettingsValues::keyring},  // likewise
};

// Switches that a new configuration has on, and the keyring: a file that never switched
// one on stays without its key, and so off.
bool isWrittenOnceOn(Flag field) {
    return field == &SettingsValues::notifications || field == &SettingsValues::history ||
           field == &SettingsValues::keyring;
}

// The password is stored scrambled.
bool isScrambled(Text field) {
    return field == &SettingsValues::password;
}

ServerType serverTypeFrom(int stored) {
    switch (stored) {
        case static_cast<int>(ServerType::PvPGN):
            return ServerType::PvPGN;
        case static_cast<int>(ServerType::Automatic):
            return ServerType::Automatic;
        default:
            return ServerType::Classic;
    }
}

// PvPGN's quota, for servers set up otherwise than the stock one; a value outside its
// bounds is taken for damage and gives the default. A budget of one unit could never let
// a line through: the server refuses the line that reaches the budget.
struct QuotaKey {
    const char* name;
    int QuotaSettings::*field;
    int lowest;
    int highest;
};
const QuotaKey kQuotaKeys[] = {
    {"QuotaUnits", &QuotaSettings::units, 2, 1000},
    {"QuotaSeconds", &QuotaSettings::seconds, 1, 3600},
    {"QuotaBytesPerUnit", &QuotaSettings::bytesPerUnit, 1, 4096},
    {"MaxLineBytes", &QuotaSettings::maxLineBytes, 32, 4096},
};

bool hasKey(const IniFile& ini, const char* key) {
    // No stored value can hold a line feed, so this default marks a missing key.
    return ini.readString(kSection, key, "\n") != "\n";
}
}  // namespace

SettingsValues readSettings(const IniFile& ini) {
    SettingsValues defaults;
    // A new configuration finds the server type itself, notifies and keeps the whisper
    // history; a file without these keys was made before there was a choice and stays
    // Classic, quiet and without history.
    if (!ini.exists()) {
        defaults.serverType = ServerType::Automatic;
        defaults.notifications = true;
        defaults.history = true;
    }
    SettingsValues values;
    for (const SettingsKey& key : kKeys) {
        if (const Flag* flag = std::get_if<Flag>(&key.field)) {
            values.** flag = ini.readBool(kSection, key.name, defaults.**flag);
        } else if (const Text* text = std::get_if<Text>(&key.field)) {
            const std::string stored = ini.readString(kSection, key.name, defaults.**text);
            values.** text = isScrambled(*text) ? decodeStoredPassword(stored) : stored;
        } else if (const Choice* choice = std::get_if<Choice>(&key.field)) {
            values.** choice = serverTypeFrom(
                ini.readInteger(kSection, key.name, static_cast<int>(defaults.**choice)));
        }
    }
    for (const QuotaKey& key : kQuotaKeys) {
        const int fallback = defaults.quota.*key.field;
        const int stored = ini.readInteger(kSection, key.name, fallback);
        values.quota.*key.field = stored >= key.lowest && stored <= key.highest ? stored : fallback;
    }
    return values;
}

void writeSettings(IniFile& ini, const SettingsValues& values) {
    for (const SettingsKey& key : kKeys) {
        if (const Flag* flag = std::get_if<Flag>(&key.field)) {
            // Like the server type: a file that never switched such a flag on stays
            // without the key.
            if (!isWrittenOnceOn(*flag) || values.**flag || hasKey(ini, key.name)) {
                ini.writeBool(kSection, key.name, values.**flag);
            }
        } else if (const Text* text = std::get_if<Text>(&key.field)) {
            ini.writeString(
                kSection, key.name,
                isScrambled(*text) ? encodeStoredPassword(values.**text) : values.**text);
        } else if (const Choice* choice = std::get_if<Choice>(&key.field)) {
            // A file that never chose another server type stays as it was.
            if (values.**choice != ServerType::Classic || hasKey(ini, key.name)) {
                ini.writeInteger(kSection, key.name, static_cast<int>(values.**choice));
            }
        }
    }
    // Only a server set up otherwise needs them in the file.
    const QuotaSettings stock;
    for (const QuotaKey& key : kQuotaKeys) {
        if (values.quota.*key.field != stock.*key.field) {
            ini.writeInteger(kSection, key.name, values.quota.*key.field);
        }
    }
}

void eraseStoredPassword(IniFile& ini) {
    ini.eraseKey(kSection, "Password");
}

bool readTrayHintShown(const IniFile& ini) {
    return ini.readBool(kSection, "TrayHintShown", false);
}

void writeTrayHintShown(IniFile& ini) {
    ini.writeBool(kSection, "TrayHintShown", true);
}

QString iniPathBesideExecutable() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("Tesk.ini");
}

}  // namespace tesk
