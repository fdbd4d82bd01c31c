#pragma once

#include <QString>

#include "connection/ConnectionTimings.h"

namespace tesk {

// How this run of the program starts, as the command line and the environment chose.
struct StartOptions {
    QString iniPath;        // Tesk.ini
    QString lockDirectory;  // where the single-instance lock lives
    ConnectionTimings timings;
    bool quitWhenShown = false;  // exit once the one-time start-up steps have run
    QString recoveryPath;        // where the watch list goes when Tesk.ini cannot be written
    QString historyFolder;       // the whisper history; empty: none is kept
};

}  // namespace tesk
