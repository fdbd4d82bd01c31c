#pragma once

#include <chrono>
#include <optional>

namespace tesk {

// What a click on the tray icon does with the main window. A StatusNotifierItem host
// reports one activation per click and never a double click, so one click has to do: it
// brings a hidden or covered window to the front and hides the window the user was just
// working in. Clicking the icon usually takes the focus from the window before the click
// arrives, so "just" means active until shortly before it. Where the tray also reports a
// double click, its first click has already acted, and the double click does nothing.
class TrayClickRule {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    enum class Action { Show, Hide, None };

    static constexpr std::chrono::milliseconds kRecentlyActive{500};

    explicit TrayClickRule(std::chrono::milliseconds doubleClickInterval);

    // The main window stopped being the active window.
    void windowDeactivated(TimePoint at);
    Action click(TimePoint at, bool windowVisible, bool windowActive);
    Action doubleClick(TimePoint at, bool windowVisible, bool windowActive) const;

private:
    Action toggle(TimePoint at, bool windowVisible, bool windowActive) const;

    std::chrono::milliseconds doubleClickInterval_;
    std::optional<TimePoint> deactivatedAt_;
    std::optional<TimePoint> clickedAt_;
};

}  // namespace tesk
