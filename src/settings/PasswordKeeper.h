#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "settings/LiveSettings.h"

namespace tesk {

class IniFile;
class SecretStore;

// Where the account password is kept: "Password" in Tesk.ini, scrambled, or, with the
// "Keyring" setting on, the system keyring, under the absolute path of the configuration
// file. Tesk.ini keeps the password until the keyring has confirmed that it holds it, and a
// password in Tesk.ini is the newest one, so a keyring that cannot be reached loses
// nothing: the password stays in the file, the user is told once per run, the setting
// stays on and the next start moves it again. GUI thread only.
class PasswordKeeper {
public:
    // Tells the user what went wrong; may wait for them (a modal box).
    using Tell = std::function<void(const std::string& text)>;
    // How long the first connect waits for the keyring's answer.
    static constexpr std::chrono::milliseconds kReadBound{10000};

    PasswordKeeper(SecretStore& store, QString iniPath, Tell tell,
                   std::chrono::milliseconds readBound = kReadBound);

    // At start: `ready` gets the password once, at once when the file holds it (with the
    // keyring on, it is then moved there), else when the keyring answered, or empty when
    // the keyring failed or did not answer within the bound (a later answer is dropped).
    void load(const IniFile& ini, std::function<void(const std::string& password)> ready);

    // The file's settings with the password, wherever it is kept; while the keyring's
    // password is not known, the empty one.
    SettingsValues read(const IniFile& ini) const;

    // Writes the settings into `ini` and flushes it, then moves the password where the
    // setting says. While the keyring's password is not known, an empty password is taken
    // for one not typed and touches neither Tesk.ini's nor the keyring's. False when the
    // file could not be written; nothing is moved then.
    bool save(IniFile& ini, const SettingsValues& values);

private:
    std::string key() const;
    void moveToKeyring(const std::string& password);
    void removeFromKeyring();
    // Once per run: the first problem is the one the user needs to know.
    void tell(const std::string& text);

    SecretStore& store_;
    QString iniPath_;
    Tell tell_;
    QTimer readBound_;
    bool known_ = true;
    std::string password_;
    // What the keyring has confirmed to hold in this run.
    std::optional<std::string> inKeyring_;
    // The keyring may hold a copy: the setting was on, or a write was asked for.
    bool keyringUsed_ = false;
    bool told_ = false;
    // The answers' context: none comes after the keeper is gone.
    QObject answers_;
};

}  // namespace tesk
