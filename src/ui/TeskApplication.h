#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ping/Pinger.h"
#include "platform/TerminationSignals.h"
#include "platform/notifications/DesktopNotifications.h"
#include "session/Session.h"
#include "session/StartOptions.h"
#include "settings/PasswordKeeper.h"
#include "settings/WindowLayout.h"
#include "ui/AboutForm.h"
#include "ui/AddUserForm.h"
#include "ui/ConsoleForm.h"
#include "ui/Conversations.h"
#include "ui/DesktopNotices.h"
#include "ui/HeldMessagesForm.h"
#include "ui/MainForm.h"
#include "ui/SettingsForm.h"
#include "ui/TrayHint.h"
#include "ui/TrayNotifier.h"
#include "ui/TrayWindowControl.h"
#include "watch/Sightings.h"

namespace tesk {

class IniFile;
class SecretStore;
class SoundPlayer;

// What start-up takes from Tesk.ini before any window exists.
struct StoredStart {
    SettingsValues settings;
    bool trayHintShown = false;
    MainFormGeometry geometry;
    std::vector<std::string> watchedNames;
    std::vector<NamedSightings> lastSeen;
};

// The program with its windows: the session, then the tray icon and the windows in the
// order they are built (members are declared in that order, and go in reverse), the
// one-time steps once the event loop runs, and the exit that saves everything. Tesk.ini is
// read once at start; the console and the dialogs are made when they are first opened, since most
// runs never open them and each would hold its fonts and controls for the whole run.
class TeskApplication {
public:
    TeskApplication(const StartOptions& options, SoundPlayer& sounds, SecretStore& secrets);
    ~TeskApplication();
    TeskApplication(const TeskApplication&) = delete;
    TeskApplication& operator=(const TeskApplication&) = delete;

    // Runs until the program exits; returns the exit code.
    int run();

private:
    ChatContext chatContext();
    void openConsole();
    SettingsForm& settingsForm();
    AddUserForm& addUser();
    AboutForm& about();
    HeldMessagesForm& heldMessages();
    // Once the event loop runs: the toolbar layout, the connection (once the password is
    // known), and on a first run the welcome and the settings.
    void startUp();

    const StartOptions options_;
    // The file as start-up read it, until the one-time steps have taken the toolbar layout.
    std::unique_ptr<const IniFile> storedFile_;
    StoredStart stored_;
    Session session_;
    // Says what went wrong with the keyring in a box of the main window.
    PasswordKeeper passwords_;
    TrayNotifier tray_;
    DesktopNotifications notifications_;
    DesktopNotices notices_;
    MainForm mainForm_;
    Pinger ping_;
    // Server lines until the console is first opened, then the console.
    PendingLog earlyLog_;
    std::unique_ptr<ConsoleForm> console_;
    Conversations conversations_;
    // Until it is first opened, the stored settings are the live ones.
    std::unique_ptr<SettingsForm> settingsForm_;
    std::unique_ptr<AddUserForm> addUser_;
    std::unique_ptr<AboutForm> about_;
    std::unique_ptr<HeldMessagesForm> heldMessages_;
    TrayWindowControl trayWindow_;
    TrayHint trayHint_;
    // Log-off, shut-down and termination end the program like Exit: everything is saved.
    TerminationSignals termination_;
};

// One copy per user: runs the program unless another copy already does.
int runTesk(const StartOptions& options, SoundPlayer& sounds, SecretStore& secrets);

}  // namespace tesk
