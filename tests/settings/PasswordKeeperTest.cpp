#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <optional>

#include "platform/SecretStore.h"
#include "settings/IniFile.h"
#include "settings/PasswordKeeper.h"
#include "settings/SettingsFile.h"

using namespace tesk;

namespace {

// A keyring in memory whose answers wait until the test hands them out; an unreachable
// one answers every request Unavailable.
class FakeSecretStore : public SecretStore {
public:
    explicit FakeSecretStore(bool reachable) : reachable_(reachable) {}

    void read(const std::string& key, QObject* context, Answer answer) override {
        later(context, std::move(answer), [this, key] {
            const auto found = secrets.find(key);
            return found == secrets.end()
                       ? SecretAnswer{SecretAnswer::Result::NotFound, {}, {}}
                       : SecretAnswer{SecretAnswer::Result::Done, found->second, {}};
        });
    }
    void write(const std::string& key, const std::string& secret, QObject* context,
               Answer answer) override {
        later(context, std::move(answer), [this, key, secret] {
            secrets[key] = secret;
            return SecretAnswer{SecretAnswer::Result::Done, {}, {}};
        });
    }
    void remove(const std::string& key, QObject* context, Answer answer) override {
        later(context, std::move(answer), [this, key] {
            return SecretAnswer{
                secrets.erase(key) ? SecretAnswer::Result::Done : SecretAnswer::Result::NotFound,
                {},
                {}};
        });
    }

    void answerAll() {
        while (!waiting_.empty()) {
            auto next = std::move(waiting_.front());
            waiting_.pop_front();
            next();
        }
    }

    std::map<std::string, std::string> secrets;

private:
    void later(QObject* context, Answer answer, std::function<SecretAnswer()> act) {
        waiting_.push_back([this, guard = QPointer<QObject>(context), answer = std::move(answer),
                            act = std::move(act)] {
            const SecretAnswer result =
                reachable_ ? act()
                           : SecretAnswer{SecretAnswer::Result::Unavailable, {}, "no service"};
            if (guard) {
                answer(result);
            }
        });
    }

    bool reachable_;
    std::deque<std::function<void()>> waiting_;
};

std::optional<std::string> filePassword(const QString& path) {
    const IniFile ini(path);
    if (ini.readString("Settings", "Password", "\n") == "\n") {
        return std::nullopt;
    }
    return readSettings(ini).password;
}

}  // namespace

// Each row: Tesk.ini and the keyring at start, then perhaps OK in the settings dialog
// with the keyring box and the password field as given; then every answer comes.
TEST(PasswordKeeper, KeepsThePasswordWhereTheSettingSaysAndNeverLosesIt) {
    struct Save {
        bool keyring;
        std::string password;  // as the field holds it
    };
    struct Row {
        const char* name;
        bool keyringOn;
        std::optional<std::string> inFile;
        bool reachable;
        std::optional<std::string> inKeyring;
        std::optional<Save> save;
        std::string loaded;  // what the first connect uses
        std::optional<std::string> fileAfter;
        std::optional<std::string> keyringAfter;
        bool told;
    };
    const Row rows[] = {
        {"off: Tesk.ini only", false, "pw", true, std::nullopt, std::nullopt, "pw", "pw",
         std::nullopt, false},
        {"on: read from the keyring", true, std::nullopt, true, "pw", std::nullopt, "pw",
         std::nullopt, "pw", false},
        {"on: the file's newer password moves", true, "new", true, "old", std::nullopt, "new",
         std::nullopt, "new", false},
        {"on, no service: the file keeps it", true, "pw", false, std::nullopt, std::nullopt, "pw",
         "pw", std::nullopt, true},
        {"on, no service: an untyped field touches nothing", true, std::nullopt, false, "pw",
         Save{true, ""}, "", std::nullopt, "pw", true},
        {"turned on: moved into the keyring", false, "pw", true, std::nullopt, Save{true, "pw"},
         "pw", std::nullopt, "pw", false},
        {"turned on, no service: stays in the file", false, "pw", false, std::nullopt,
         Save{true, "pw"}, "pw", "pw", std::nullopt, true},
        {"turned off: back into the file", true, std::nullopt, true, "pw", Save{false, "pw"}, "pw",
         "pw", std::nullopt, false},
        {"turned off, no service: the keyring keeps it", true, std::nullopt, false, "pw",
         Save{false, ""}, "", std::nullopt, "pw", true},
        {"typed while the service is missing: kept in the file", true, std::nullopt, false, "old",
         Save{true, "new"}, "", "new", "old", true},
        {"a damaged keyring answer is not used", true, std::nullopt, true, "a\r\nb", Save{true, ""},
         "", std::nullopt, "a\r\nb", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tesk.ini");
        {
            IniFile ini(path);
            SettingsValues stored;
            stored.keyring = row.keyringOn;
            stored.password = row.inFile.value_or("");
            writeSettings(ini, stored);
            if (!row.inFile) {
                eraseStoredPassword(ini);
            }
            ASSERT_TRUE(ini.flush());
        }
        FakeSecretStore store(row.reachable);
        const std::string key = QFileInfo(path).absoluteFilePath().toStdString();
        if (row.inKeyring) {
            store.secrets[key] = *row.inKeyring;
        }
        std::optional<std::string> loaded;
        int told = 0;
        // Telling may wait for the user: the first connect must not wait with it.
        PasswordKeeper keeper(store, path, [&told, &loaded](const std::string&) {
            EXPECT_TRUE(loaded.has_value()) << "told before the password was handed over";
            ++told;
        });

        keeper.load(IniFile(path), [&loaded](const std::string& password) { loaded = password; });
        store.answerAll();
        EXPECT_EQ(loaded, row.loaded);
        if (row.save) {
            IniFile ini(path);
            SettingsValues values = keeper.read(ini);
            EXPECT_EQ(values.password, row.loaded);  // what the dialog shows
            values.keyring = row.save->keyring;
            values.password = row.save->password;
            ASSERT_TRUE(keeper.save(ini, values));
            store.answerAll();
        }

        EXPECT_EQ(filePassword(path), row.fileAfter);
        const auto secret = store.secrets.find(key);
        EXPECT_EQ(secret == store.secrets.end() ? std::nullopt : std::optional(secret->second),
                  row.keyringAfter);
        EXPECT_EQ(readSettings(IniFile(path)).keyring,
                  row.save ? row.save->keyring : row.keyringOn);  // kept on to try again
        EXPECT_EQ(told, row.told ? 1 : 0);
    }
}
