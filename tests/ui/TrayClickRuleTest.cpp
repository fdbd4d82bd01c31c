// What a click on the tray icon does with the main window, by how long ago the window was
// last active and whether a double click completes a click already acted on.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "ui/TrayClickRule.h"

namespace {

using namespace std::chrono_literals;
using tesk::TrayClickRule;
using Action = TrayClickRule::Action;

constexpr auto kDoubleClickInterval = 400ms;

struct ClickCase {
    const char* name;
    bool visible;
    bool active;
    std::optional<std::chrono::milliseconds> deactivatedBefore;  // before this click
    bool doubleClick;
    std::optional<std::chrono::milliseconds> clickedBefore;  // an earlier single click
    Action expected;
};

void PrintTo(const ClickCase& c, std::ostream* out) {
    *out << c.name;
}

class TrayClick : public ::testing::TestWithParam<ClickCase> {};

}  // namespace

TEST_P(TrayClick, ShowsHidesOrIgnores) {
    const ClickCase& c = GetParam();
    const TrayClickRule::TimePoint now = TrayClickRule::TimePoint() + 1h;
    TrayClickRule rule(kDoubleClickInterval);
    if (c.deactivatedBefore) {
        rule.windowDeactivated(now - *c.deactivatedBefore);
    }
    if (c.clickedBefore) {
        rule.click(now - *c.clickedBefore, !c.visible, false);
    }
    const Action action = c.doubleClick ? rule.doubleClick(now, c.visible, c.active)
                                        : rule.click(now, c.visible, c.active);
    EXPECT_EQ(action, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrayClick,
    ::testing::Values(
        ClickCase{"HiddenComesBack", false, false, std::nullopt, false, std::nullopt, Action::Show},
        ClickCase{"HiddenJustAfterUse", false, false, 100ms, false, std::nullopt, Action::Show},
        ClickCase{"ActiveHides", true, true, std::nullopt, false, std::nullopt, Action::Hide},
        // The click on the icon took the focus from the window.
        ClickCase{"FocusTakenByTheClick", true, false, 50ms, false, std::nullopt, Action::Hide},
        ClickCase{"ActiveHalfASecondAgo", true, false, 500ms, false, std::nullopt, Action::Hide},
        ClickCase{"CoveredSinceLonger", true, false, 501ms, false, std::nullopt, Action::Show},
        ClickCase{"NeverActive", true, false, std::nullopt, false, std::nullopt, Action::Show},
        // A tray that reports double clicks too: the first click acted already.
        ClickCase{"DoubleClickAfterItsClick", true, true, std::nullopt, true, 200ms, Action::None},
        ClickCase{"DoubleClickAtTheIntervalsEnd", false, false, std::nullopt, true,
                  kDoubleClickInterval, Action::None},
        ClickCase{"DoubleClickLongAfterAClick", true, true, std::nullopt, true, 401ms,
                  Action::Hide},
        ClickCase{"DoubleClickAlone", false, false, std::nullopt, true, std::nullopt,
                  Action::Show}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });
