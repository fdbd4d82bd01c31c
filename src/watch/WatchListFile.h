#pragma once

#include <string>
#include <vector>

namespace tesk {

class IniFile;

// The "Users" section: "Count" and the names under "0", "1", ... in list order.
std::vector<std::string> readWatchedNames(const IniFile& ini);

// Erases the whole section first, so that no name of a longer earlier list survives.
void writeWatchedNames(IniFile& ini, const std::vector<std::string>& names);

}  // namespace tesk
