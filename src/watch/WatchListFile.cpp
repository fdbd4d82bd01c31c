#include "watch/WatchListFile.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace tesk {

namespace {
constexpr const char* kSection = "Users";
constexpr const char* kLastSeenSection = "LastSeen";
constexpr int kMaxUsers = 1000000;  // even a far-off numbered key must not allocate without end

// The highest key of the section that is a plain number ("0", "17"), plus one; 0 when
// there is none.
int presentEntries(const IniFile& ini, const char* section) {
    int count = 0;
    for (const std::string& key : ini.keyNames(section)) {
        const bool plain =
            !key.empty() && key.size() <= 7 && (key == "0" || key[0] != '0') &&
            std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (plain) {
            count = std::max(count, std::stoi(key) + 1);
        }
    }
    return count;
}

// A damaged Count must neither erase the list nor fill it with empty entries: one that is
// missing, negative or not a number stands for the entries present, and one beyond them
// is cut down to them.
std::vector<std::string> readNumbered(const IniFile& ini, const char* section) {
    const int present = presentEntries(ini, section);
    const int stored = ini.readInteger(section, "Count", -1);
    const int count = std::min(stored < 0 ? present : std::min(stored, present), kMaxUsers);
    std::vector<std::string> values;
    values.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        values.push_back(ini.readString(section, std::to_string(i), ""));
    }
    return values;
}

void writeNumbered(IniFile& ini, const char* section, const std::vector<std::string>& values) {
    ini.eraseSection(section);
    ini.writeInteger(section, "Count", static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        ini.writeString(section, std::to_string(i), values[i]);
    }
}

// The offset makes the stored time mean the same moment after a change of time zone or
// daylight saving time.
QString storedTime(const QDateTime& at) {
    return at.isValid() ? at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODate) : QString();
}

// Empty gives an invalid time; false when the text is not a time at all.
bool readTime(const QString& text, QDateTime& at) {
    if (text.isEmpty()) {
        return true;
    }
    at = QDateTime::fromString(text, Qt::ISODate).toLocalTime();
    return at.isValid();
}

}  // namespace

std::vector<std::string> readWatchedNames(const IniFile& ini) {
    return readNumbered(ini, kSection);
}

void writeWatchedNames(IniFile& ini, const std::vector<std::string>& names) {
    writeNumbered(ini, kSection, names);
}

std::vector<NamedSightings> readLastSeen(const IniFile& ini) {
    std::vector<NamedSightings> entries;
    for (const std::string& value : readNumbered(ini, kLastSeenSection)) {
        // Names are bytes: only the times are text.
        const std::size_t first = value.find('\t');
        if (first == 0 || first == std::string::npos) {
            continue;
        }
        const std::size_t second = value.find('\t', first + 1);
        if (second == std::string::npos || value.find('\t', second + 1) != std::string::npos) {
            continue;
        }
        NamedSightings entry{value.substr(0, first), {}};
        const auto field = [&value](std::size_t from, std::size_t to) {
            return QString::fromStdString(value.substr(from, to - from));
        };
        if (readTime(field(first + 1, second), entry.seen.onlineSince) &&
            readTime(field(second + 1, value.size()), entry.seen.lastSeen)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

void writeLastSeen(IniFile& ini, const std::vector<NamedSightings>& entries) {
    std::vector<std::string> values;
    values.reserve(entries.size());
    for (const NamedSightings& entry : entries) {
        values.push_back(entry.name + '\t' + storedTime(entry.seen.onlineSince).toStdString() +
                         '\t' + storedTime(entry.seen.lastSeen).toStdString());
    }
    writeNumbered(ini, kLastSeenSection, values);
}

}  // namespace tesk
