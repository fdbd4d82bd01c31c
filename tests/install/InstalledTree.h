#pragma once

#include <QString>

namespace tesk::test {

// The prefix this build was installed into with `cmake --install`, once per test
// process, in a temporary folder removed at exit. Empty, with a test failure that tells
// why, when installing failed.
QString installedPrefix();

}  // namespace tesk::test
