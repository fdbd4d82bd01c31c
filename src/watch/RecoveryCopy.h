#pragma once

#include <QString>
#include <string>
#include <vector>

namespace tesk {

// Where the watch list goes when Tesk.ini cannot be written as the program ends:
// $XDG_STATE_HOME/tesk/Tesk.ini.recovered (by default ~/.local/state/tesk/).
QString recoveryCopyPath();

// After Tesk.ini could not be written at the end: writes the names to the recovery copy
// (when `copyPath` is set) in Tesk.ini's own "Users" form, and returns the report for
// stderr and the console, naming the copy when that worked.
std::string keepUnsavedWatchList(const QString& iniPath, const QString& copyPath,
                                 const std::vector<std::string>& names);

// After a successful save the copy has done its work: it is kept as "….old", so the next
// start no longer mentions it and nothing is lost.
void retireRecoveryCopy(const QString& path);

// The message of the next start while a recovery copy is waiting.
QString recoveryNotice(const QString& iniPath, const QString& copyPath);

}  // namespace tesk
