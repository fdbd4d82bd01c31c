#pragma once

#include <QString>

namespace tesk {

// Which Tesk.ini the program uses: the one named on the command line; else the one beside
// the executable when that folder is writable and not under /usr (a portable copy); else
// the user's configuration folder ($XDG_CONFIG_HOME/tesk, by default ~/.config/tesk), as
// for an installed copy whose folder belongs to the system.
QString chooseConfigPath(const QString& explicitPath, const QString& executableDir,
                         const QString& xdgConfigHome, const QString& home);

// The same with the running program's folder and environment.
QString chooseConfigPath(const QString& explicitPath);

}  // namespace tesk
