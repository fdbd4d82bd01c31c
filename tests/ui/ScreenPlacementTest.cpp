// Where windows open: centred dialogs and kept windows always end fully inside the free
// area of the screen, and a frame larger than it keeps its title bar on the screen.
#include <gtest/gtest.h>

#include "ui/ScreenPlacement.h"

namespace {

using tesk::Placement;

TEST(ScreenPlacement, EveryFrameEndsOnTheScreen) {
    const QRect freeArea(0, 30, 960, 510);  // a 1920x1080 screen at scale factor 2, less a panel
    struct Case {
        const char* what;
        QRect frame;
        Placement placement;
        QRect expected;
    };
    const Case cases[] = {
        {"dialog centred", {0, 0, 321, 446}, Placement::Centre, {319, 62, 321, 446}},
        {"dialog taller than the area", {0, 0, 321, 600}, Placement::Centre, {319, 30, 321, 600}},
        {"window inside stays", {100, 100, 350, 250}, Placement::Keep, {100, 100, 350, 250}},
        {"window above the screen", {100, -20, 350, 250}, Placement::Keep, {100, 30, 350, 250}},
        {"window past the right and bottom",
         {800, 400, 350, 250},
         Placement::Keep,
         {610, 290, 350, 250}},
        {"window on another screen", {-1500, 200, 350, 250}, Placement::Keep, {0, 200, 350, 250}},
        {"window wider than the area", {-50, 100, 1200, 250}, Placement::Keep, {0, 100, 1200, 250}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tesk::placedFrame(c.frame, freeArea, c.placement), c.expected) << c.what;
    }
}

}  // namespace
