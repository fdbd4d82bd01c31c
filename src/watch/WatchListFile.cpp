#include "watch/WatchListFile.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace tesk {

namespace {
constexpr const char* kSection = "Users";
constexpr int kMaxUsers = 1000000;  // even a far-off numbered key must not allocate without end

// The highest key of the section that is a plain number ("0", "17"), plus one; 0 when
// there is none.
int presentNames(const IniFile& ini) {
    int count = 0;
    for (const std::string& key : ini.keyNames(kSection)) {
        const bool plain =
            !key.empty() && key.size() <= 7 && (key == "0" || key[0] != '0') &&
            std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (plain) {
            count = std::max(count, std::stoi(key) + 1);
        }
    }
    return count;
}
}  // namespace

// A damaged Count must neither erase the list nor fill it with empty names: one that is
// missing, negative or not a number stands for the names present, and one beyond them is
// cut down to them.
std::vector<std::string> readWatchedNames(const IniFile& ini) {
    const int present = presentNames(ini);
    const int stored = ini.readInteger(kSection, "Count", -1);
    const int count = std::min(stored < 0 ? present : std::min(stored, present), kMaxUsers);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        names.push_back(ini.readString(kSection, std::to_string(i), ""));
    }
    return names;
}

void writeWatchedNames(IniFile& ini, const std::vector<std::string>& names) {
    ini.eraseSection(kSection);
    ini.writeInteger(kSection, "Count", static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        ini.writeString(kSection, std::to_string(i), names[i]);
    }
}

}  // namespace tesk
