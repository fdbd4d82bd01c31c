#pragma once

#include <functional>

namespace tesk::test {

// Runs the Qt event loop of the calling (main) thread until `done` returns true or
// `timeoutMs` passes. Returns the last value of `done`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Runs the event loop for `ms` milliseconds.
void processEventsFor(int ms);

}  // namespace tesk::test
