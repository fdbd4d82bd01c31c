#pragma once

#include <QString>
#include <string>
#include <vector>

namespace tesk {

// Where the watch list goes when Tesk.ini cannot be written as the program ends:
// $XDG_STATE_HOME/tesk/Tesk.ini.recovered (by default ~/.local/state/tesk/).
QString recoveryCopyPath();

// Writes the names there in Tesk.ini's own "Users" form; false when that fails too.
bool writeRecoveryCopy(const QString& path, const std::vector<std::string>& names);

// After a successful save the copy has done its work: it is kept as "….old", so the next
// start no longer mentions it and nothing is lost.
void retireRecoveryCopy(const QString& path);

// The message of the next start while a recovery copy is waiting.
QString recoveryNotice(const QString& iniPath, const QString& copyPath);

}  // namespace tesk
