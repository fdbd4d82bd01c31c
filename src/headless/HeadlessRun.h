#pragma once

#include "session/StartOptions.h"

namespace tesk {

class SecretStore;

// Runs the program without windows until SIGINT or SIGTERM, printing every change to
// stdout; saves the watch list then. Returns the exit code. With the keyring setting on,
// the password comes from `secrets`.
int runHeadless(const StartOptions& options, SecretStore& secrets);

}  // namespace tesk
