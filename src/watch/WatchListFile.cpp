#include "watch/WatchListFile.h"

#include "settings/IniFile.h"

namespace tesk {

namespace {
constexpr const char* kSection = "Users";
constexpr int kMaxUsers = 1000000;  // a damaged Count must not make us allocate without end
}  // namespace

std::vector<std::string> readWatchedNames(const IniFile& ini) {
    const int count = ini.readInteger(kSection, "Count", 0);
    std::vector<std::string> names;
    if (count <= 0) {
        return names;
    }
    const int kept = count < kMaxUsers ? count : kMaxUsers;
    names.reserve(static_cast<std::size_t>(kept));
    for (int i = 0; i < kept; ++i) {
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
