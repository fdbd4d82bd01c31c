#include "settings/PasswordKeeper.h"

#include <QFileInfo>
#include <memory>
#include <utility>

#include "platform/SecretStore.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

namespace tesk {

namespace {

// A password that Tesk.ini could hold: the keyring is shared with other programs, and a
// line break in a password would end the login line early.
bool isUsablePassword(const std::string& secret) {
    return secret.size() <= IniFile::kMaxValueBytes &&
           secret.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::string unreachable(const std::string& error) {
    return "The system keyring cannot be reached (" + (error.empty() ? "no reason given" : error) +
           ").";
}

const std::string kUnknownPassword =
    " The password it keeps is not used in this run; a password entered in the settings is "
    "kept in Tesk.ini, scrambled, until the keyring takes it.";

}  // namespace

PasswordKeeper::PasswordKeeper(SecretStore& store, QString iniPath, Tell tell,
                               std::chrono::milliseconds readBound)
    : store_(store), iniPath_(std::move(iniPath)), tell_(std::move(tell)) {
    readBound_.setSingleShot(true);
    readBound_.setInterval(readBound);
}

std::string PasswordKeeper::key() const {
    return QFileInfo(iniPath_).absoluteFilePath().toStdString();
}

void PasswordKeeper::load(const IniFile& ini,
                          std::function<void(const std::string& password)> ready) {
    const SettingsValues stored = readSettings(ini);
    password_ = stored.password;
    keyringUsed_ = stored.keyring;
    // A password in the file is the newest one: the keyring has not confirmed it yet.
    if (!stored.keyring || !stored.password.empty()) {
        ready(password_);
        if (stored.keyring) {
            moveToKeyring(password_);
        }
        return;
    }
    known_ = false;
    // Whichever comes first, the answer or the end of the wait, hands the password over,
    // and only then tells what went wrong: the telling may wait for the user.
    auto waiting = std::make_shared<std::function<void(const std::string&)>>(std::move(ready));
    const auto handOver = [this, waiting](const std::string& problem) {
        const auto ready = std::exchange(*waiting, nullptr);
        ready(known_ ? password_ : std::string());
        if (!problem.empty()) {
            tell(problem + kUnknownPassword);
        }
    };
    QObject::connect(&readBound_, &QTimer::timeout, &answers_, [this, handOver] {
        handOver(unreachable("no answer within " + std::to_string(readBound_.interval() / 1000) +
                             " seconds"));
    });
    store_.read(key(), &answers_, [this, waiting, handOver](const SecretAnswer& answer) {
        if (!*waiting) {
            return;
        }
        readBound_.stop();
        if (answer.result == SecretAnswer::Result::Unavailable) {
            handOver(unreachable(answer.error));
            return;
        }
        if (answer.result == SecretAnswer::Result::Done && !isUsablePassword(answer.secret)) {
            handOver("The system keyring holds a damaged password for TESK.");
            return;
        }
        if (!known_) {  // unless a password was saved meanwhile
            known_ = true;
            password_ = answer.secret;
            if (answer.result == SecretAnswer::Result::Done) {
                inKeyring_ = password_;
            }
        }
        handOver({});
    });
    readBound_.start();
}

SettingsValues PasswordKeeper::read(const IniFile& ini) const {
    SettingsValues values = readSettings(ini);
    if (values.keyring && values.password.empty()) {
        values.password = known_ ? password_ : std::string();
    }
    return values;
}

bool PasswordKeeper::save(IniFile& ini, const SettingsValues& values) {
    const bool typed = known_ || !values.password.empty();
    writeSettings(ini, values);
    if (!typed || (values.keyring && inKeyring_ == values.password)) {
        eraseStoredPassword(ini);
    }
    if (!ini.flush()) {
        return false;
    }
    if (!typed) {
        return true;
    }
    known_ = true;
    password_ = values.password;
    if (values.keyring) {
        if (inKeyring_ != password_) {
            moveToKeyring(password_);
        }
    } else if (keyringUsed_) {
        removeFromKeyring();
    }
    return true;
}

void PasswordKeeper::moveToKeyring(const std::string& password) {
    keyringUsed_ = true;
    store_.write(key(), password, &answers_, [this, password](const SecretAnswer& answer) {
        if (answer.result != SecretAnswer::Result::Done) {
            tell(unreachable(answer.error) +
                 " The password stays in Tesk.ini, scrambled, and TESK tries the keyring again "
                 "at its next start.");
            return;
        }
        inKeyring_ = password;
        // Unless the file has changed its mind meanwhile. When the file cannot be written
        // the password stays there, and the next start moves it again.
        IniFile ini(iniPath_);
        const SettingsValues now = readSettings(ini);
        if (now.keyring && now.password == password) {
            eraseStoredPassword(ini);
            ini.flush();
        }
    });
}

void PasswordKeeper::removeFromKeyring() {
    store_.remove(key(), &answers_, [this](const SecretAnswer& answer) {
        if (answer.result == SecretAnswer::Result::Unavailable) {
            tell(unreachable(answer.error) +
                 " The password is in Tesk.ini again, but the keyring still holds a copy.");
            return;
        }
        inKeyring_.reset();
        keyringUsed_ = false;
    });
}

void PasswordKeeper::tell(const std::string& text) {
    if (!told_) {
        told_ = true;
        tell_(text);
    }
}

}  // namespace tesk
