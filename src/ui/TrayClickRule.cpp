#include "ui/TrayClickRule.h"

namespace tesk {

TrayClickRule::TrayClickRule(std::chrono::milliseconds doubleClickInterval)
    : doubleClickInterval_(doubleClickInterval) {}

void TrayClickRule::windowDeactivated(TimePoint at) {
    deactivatedAt_ = at;
}

TrayClickRule::Action TrayClickRule::click(TimePoint at, bool windowVisible, bool windowActive) {
    clickedAt_ = at;
    return toggle(at, windowVisible, windowActive);
}

TrayClickRule::Action TrayClickRule::doubleClick(TimePoint at, bool windowVisible,
                                                 bool windowActive) const {
    if (clickedAt_ && at - *clickedAt_ <= doubleClickInterval_) {
        return Action::None;
    }
    return toggle(at, windowVisible, windowActive);
}

TrayClickRule::Action TrayClickRule::toggle(TimePoint at, bool windowVisible,
                                            bool windowActive) const {
    const bool recentlyActive =
        windowActive || (deactivatedAt_ && at - *deactivatedAt_ <= kRecentlyActive);
    return windowVisible && recentlyActive ? Action::Hide : Action::Show;
}

}  // namespace tesk
