#pragma once

#include <QRect>

class QScreen;
class QWidget;

namespace tesk {

// Where TESK's windows open: fully on the screen that holds the main window, so that none
// opens partly off a screen (a dialog taller than the space left by a large scale factor,
// a window that the window manager would put on another screen).

enum class Placement {
    Centre,  // dialogs: centred in the free area
    Keep,    // other windows: where they are, moved only as far as needed to fit
};

// The frame's new place within the free area of a screen; a frame larger than the area
// keeps its top left corner in it, so that the title bar stays reachable.
QRect placedFrame(const QRect& frame, const QRect& freeArea, Placement placement);

// The screen that holds the main window (shown or not), or the primary screen.
QScreen* homeScreen();

// Places the window on the home screen each time it is shown (Centre) or the first time
// only (Keep), so that a window the user moved elsewhere stays there.
void placeOnHomeScreenWhenShown(QWidget* window, Placement placement);

}  // namespace tesk
