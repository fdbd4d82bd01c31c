#pragma once

#include <QString>
#include <QStringList>

namespace tesk::test {

// The prefix this build was installed into with `cmake --install`, once per test
// process, in a temporary folder removed at exit. Empty, with a test failure that tells
// why, when installing failed.
QString installedPrefix();

// The files the program installs, relative to the prefix, that the Debian package holds
// too; `cmake --install` adds share/doc/tesk/LICENSE, which the package leaves to its
// copyright file.
QStringList packagedFiles();

}  // namespace tesk::test
