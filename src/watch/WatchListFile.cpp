#include "watch/WatchListFile.h"

#include <algorithm>

#include "settings/IniFile.h"

namespace tesk {

namespace {
constexpr const char* kSection = "Users";
constexpr const char* kLastSeenSection = "LastSeen";
constexpr int kMaxUsers = 1000000;  // even a far-off numbered key must not allocate without end

// The number a key stands for when it is a plain one ("0", "17"); -1 otherwise.
int plainNumber(const std::string& key) {
    const bool plain =
        !key.empty() && key.size() <= 7 && (key == "0" || key[0] != '0') &&
        std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
    return plain ? std::stoi(key) : -1;
}

// A damaged Count must neither erase the list nor fill it with empty entries: one that is
// missing, negative or not a number stands for the entries present (up to the highest
// plain number), and one beyond them is cut down to them.
std::vector<std::string> readNumbered(const IniFile& ini, const char* section) {
    std::vector<std::pair<int, std::string_view>> numbered;
    const std::vector<IniFile::Entry> entries = ini.entries(section);
    numbered.reserve(entries.size());
    int present = 0;
    for (const IniFile::Entry& entry : entries) {
        const int number = plainNumber(entry.key);
        if (number >= 0) {
            numbered.emplace_back(number, entry.value);
            present = std::max(present, number + 1);
        }
    }
    const int stored = ini.readInteger(section, "Count", -1);
    const int count = std::min(stored < 0 ? present : std::min(stored, present), kMaxUsers);
    std::vector<std::string> values(static_cast<std::size_t>(count));
    for (const auto& [number, value] : numbered) {
        if (number < count) {
            values[static_cast<std::size_t>(number)] = value;
        }
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
        // A user never seen reads back as never seen without an entry.
        if (!entry.seen.onlineSince.isValid() && !entry.seen.lastSeen.isValid()) {
            continue;
        }
        values.push_back(entry.name + '\t' + storedTime(entry.seen.onlineSince).toStdString() +
                         '\t' + storedTime(entry.seen.lastSeen).toStdString());
    }
    writeNumbered(ini, kLastSeenSection, values);
}

}  // namespace tesk
