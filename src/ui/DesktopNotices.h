#pragma once

#include <functional>
#include <string>

namespace tesk {

class DesktopNotifications;
class LiveSettings;
struct WatchedUser;

// What the windowed program tells through desktop notifications while the setting is on:
// a watched user who came online, with his place, and a whisper while the main window is
// not the active one, with an "Open" for its chat window. The text is received text, so
// it goes as plain text, bounded like every line shown.
class DesktopNotices {
public:
    DesktopNotices(DesktopNotifications& service, const LiveSettings& settings,
                   std::function<bool()> mainWindowActive);

    void userOnline(const std::string& name, const WatchedUser& user);
    void whisper(const std::string& partner, const std::string& text);

private:
    bool enabled() const;

    DesktopNotifications& service_;
    const LiveSettings& settings_;
    std::function<bool()> mainWindowActive_;
};

}  // namespace tesk
