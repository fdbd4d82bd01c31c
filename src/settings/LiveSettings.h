#pragma once

#include <mutex>
#include <string>

namespace tesk {

// Which server the gateway is: the classic gateway, a PvPGN server, which logs in, echoes
// and words its replies differently, or Automatic: the classic login first, then PvPGN's.
enum class ServerType { Classic = 0, PvPGN = 1, Automatic = 2 };

// What a PvPGN server accepts from its client, as Tesk.ini describes it for servers set up
// otherwise than the stock one: each line costs ceil(bytes / bytesPerUnit) units against a
// budget of `units` per `seconds`, and a line longer than maxLineBytes is refused.
struct QuotaSettings {
    int units = 5;
    int seconds = 5;
    int bytesPerUnit = 40;
    int maxLineBytes = 200;
};

// The settings that worker threads read while the program runs. The settings dialog
// publishes its controls' values here whenever one of them changes; workers take a
// consistent copy at the moment they need it.
struct SettingsValues {
    bool minimize = false;
    bool officeXp = false;
    bool sounds = true;
    bool notifications = false;  // desktop notifications; on for a new configuration
    bool history = false;        // whisper history; on for a new configuration
    std::string gateway = "europe.battle.net";
    ServerType serverType = ServerType::Classic;
    bool force = false;
    bool anonymous = true;
    std::string user;
    std::string password;  // in clear
    bool keyring = false;  // the password is kept in the system keyring, not in Tesk.ini
    QuotaSettings quota;   // kept in the file only; the dialog has no controls for it
};

class LiveSettings {
public:
    SettingsValues snapshot() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return values_;
    }
    void publish(const SettingsValues& values) {
        std::lock_guard<std::mutex> lock(mutex_);
        values_ = values;
    }

private:
    mutable std::mutex mutex_;
    SettingsValues values_;
};

}  // namespace tesk
