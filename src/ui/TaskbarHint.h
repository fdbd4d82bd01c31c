#pragma once

class QWidget;

namespace tesk {

// Asks the window manager to keep `window` out of the task bar (the tray icon is the
// program's way back). Does nothing where the display is not X11.
void keepOutOfTaskbar(QWidget* window);

}  // namespace tesk
