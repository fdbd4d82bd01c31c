#pragma once

#include <QString>

#include "connection/ConnectionTimings.h"

namespace tesk {

class SoundPlayer;

// Start-up and the run of the program: one copy per user, the permanent windows in
// their order, the tray icon, the one-time steps once the event loop runs, and the exit
// that saves everything.
struct StartOptions {
    QString iniPath;           // Tesk.ini
    QString lockDirectory;     // where the single-instance lock lives
    ConnectionTimings timings;
    bool quitWhenShown = false;  // exit once the one-time start-up steps have run
    QString recoveryPath;        // where the watch list goes when Tesk.ini cannot be written
};

// Runs the program until it exits, playing its chimes through `sounds`; returns the exit
// code.
int runTesk(const StartOptions& options, SoundPlayer& sounds);

}  // namespace tesk
