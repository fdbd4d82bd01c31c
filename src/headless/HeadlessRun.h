#pragma once

#include "session/StartOptions.h"

namespace tesk {

// Runs the program without windows until SIGINT or SIGTERM, printing every change to
// stdout; saves the watch list then. Returns the exit code.
int runHeadless(const StartOptions& options);

}  // namespace tesk
