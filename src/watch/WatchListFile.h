#pragma once

#include <string>
#include <vector>

#include "watch/Sightings.h"

namespace tesk {

class IniFile;

// The "Users" section: "Count" and the names under "0", "1", ... in list order.
std::vector<std::string> readWatchedNames(const IniFile& ini);

// Erases the whole section first, so that no name of a longer earlier list survives.
void writeWatchedNames(IniFile& ini, const std::vector<std::string>& names);

// The "LastSeen" section: "Count" and under "0", "1", ... the value NAME, tab, the time
// online since, tab, the time last seen (ISO 8601 local time with its offset from UTC,
// empty when unknown). A Count is read as in "Users"; a damaged entry is left out.
std::vector<NamedSightings> readLastSeen(const IniFile& ini);
// Erases the whole section first, like writeWatchedNames.
void writeLastSeen(IniFile& ini, const std::vector<NamedSightings>& entries);

}  // namespace tesk
