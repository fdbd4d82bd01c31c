#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

#include "settings/SaveTarget.h"

namespace tesk {
namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// Names compare ignoring ASCII letter case only: the bytes are in no known code page.
std::string fold(std::string_view name) {
    std::string folded(trim(name));
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool isHeader(std::string_view line) {
    const std::size_t first = line.find_first_not_of(kBlanks);
    return first != std::string_view::npos && line[first] == '[';
}

// Calls visit with each line of text, without its CR LF or LF.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        visit(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

bool holdsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isWritableSectionName(std::string_view name) {
    return !name.empty() && name.find(']') == std::string_view::npos && !holdsLineBreakOrNul(name);
}

bool isWritableKeyName(std::string_view name) {
    return !name.empty() && name.front() != '[' && name.front() != ';' &&
           name.find('=') == std::string_view::npos && !holdsLineBreakOrNul(name);
}

std::optional<int> parseInteger(std::string_view text) {
    text = trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
        if (text.front() == '-') {  // from_chars would take a sign after "0x"
            return std::nullopt;
        }
    }
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Makes a finished rename survive a power cut; the file is already complete without it.
void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool replaceFileAtomically(const QString& target, const std::string& bytes) {
    const QFileInfo info(target);
    const QByteArray finalPath = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    QByteArray tempPath = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";

    // mkostemp creates the file with mode 0600; fchmod keeps it so under any umask.
    const int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                         writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempPath.constData(), finalPath.constData()) != 0) {
        ::unlink(tempPath.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)), sections_(1) {
    load();
}

void IniFile::load() {
    const QFileInfo info(path_);
    if (!info.exists()) {
        return;
    }
    exists_ = info.isFile();
    QFile file(path_);
    if (!exists_ || info.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        unreadable_ = true;
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        unreadable_ = true;
        return;
    }
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // Two passes: the first counts the lines of each section that may hold a key, so that
    // a long watch list's tables are sized once instead of growing a line at a time. The
    // count is capped: a file of repeated keys must not reserve room for each of them.
    constexpr std::size_t kMostReservedLines = 1 << 20;
    std::vector<std::size_t> sectionLines(1, 0);
    forEachLine(text, [&](std::string_view line) {
        if (isHeader(line)) {
            sectionLines.push_back(0);
        } else if (line.find('=') != std::string_view::npos &&
                   sectionLines.back() < kMostReservedLines) {
            ++sectionLines.back();
        }
    });
    sections_[0].lines.reserve(sectionLines[0]);
    forEachLine(text, [&](std::string_view line) { addLoadedLine(line, sectionLines); });
}

void IniFile::addLoadedLine(std::string_view line, const std::vector<std::size_t>& sectionLines) {
    const std::size_t first = line.find_first_not_of(kBlanks);
    if (isHeader(line)) {
        const std::size_t close = line.find(']', first + 1);
        Section section;
        section.lines.reserve(sectionLines[sections_.size()]);
        section.keys.reserve(sectionLines[sections_.size()]);
        section.header = std::string(line);
        section.name =
            fold(line.substr(first + 1, close == std::string_view::npos ? std::string_view::npos
                                                                        : close - first - 1));
        sectionIndex_.emplace(section.name, sections_.size());
        sections_.push_back(std::move(section));
        return;
    }
    Section& current = sections_.back();
    const std::size_t equals = line.find('=');  // found only if the line is not blank
    if (sections_.size() > 1 && equals != std::string_view::npos && line[first] != ';') {
        const std::string key = fold(line.substr(0, equals));
        if (!key.empty() && current.keys.emplace(key, current.lines.size()).second) {
            current.lines.push_back({std::string(line), equals + 1});
            return;
        }
    }
    // Runs of lines without a key share one entry, so a file of garbage costs little.
    if (!current.lines.empty() && !current.lines.back().isKey()) {
        current.lines.back().text.append(1, '\n').append(line);
    } else {
        current.lines.push_back({std::string(line), Line::kNotAKey});
    }
}

std::optional<std::string_view> IniFile::findValue(const std::string& section,
                                                   const std::string& key) const {
    const auto sectionIt = sectionIndex_.find(fold(section));
    if (sectionIt == sectionIndex_.end()) {
        return std::nullopt;
    }
    const Section& found = sections_[sectionIt->second];
    const auto keyIt = found.keys.find(fold(key));
    if (keyIt == found.keys.end()) {
        return std::nullopt;
    }
    return valueOf(found.lines[keyIt->second]);
}

std::string_view IniFile::valueOf(const Line& line) {
    std::string_view value(line.text);
    value.remove_prefix(line.valueStart);
    value = value.substr(0, value.find('\0'));
    return value.substr(0, kMaxValueBytes);
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    const auto value = findValue(section, key);
    return value ? std::string(*value) : def;
}

int IniFile::readInteger(const std::string& section, const std::string& key, int def) const {
    const auto value = findValue(section, key);
    const auto number = value ? parseInteger(*value) : std::nullopt;
    return number.value_or(def);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
    const auto value = findValue(section, key);
    const auto number = value ? parseInteger(*value) : std::nullopt;
    return number ? *number != 0 : def;
}

std::vector<IniFile::Entry> IniFile::entries(const std::string& section) const {
    const auto sectionIt = sectionIndex_.find(fold(section));
    if (sectionIt == sectionIndex_.end()) {
        return {};
    }
    // A key line is always its name's first occurrence (a repeated key is kept as a line
    // of no key), so the lines give the keys in file order.
    const Section& found = sections_[sectionIt->second];
    std::vector<Entry> result;
    result.reserve(found.keys.size());
    for (const Line& line : found.lines) {
        if (line.isKey()) {
            result.push_back(
                {fold(std::string_view(line.text).substr(0, line.valueStart - 1)), valueOf(line)});
        }
    }
    return result;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    const std::string_view sectionName = trim(section);
    const std::string_view keyName = trim(key);
    if (!isWritableSectionName(sectionName) || !isWritableKeyName(keyName)) {
        return;
    }
    const std::string_view safeValue =
        std::string_view(value).substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));

    Section& target = sectionForWrite(sectionName);
    const std::string folded = fold(keyName);
    const auto keyIt = target.keys.find(folded);
    if (keyIt != target.keys.end()) {
        Line& line = target.lines[keyIt->second];
        line.text.replace(line.valueStart, std::string::npos, safeValue);
        return;
    }
    // Before the trailing comments and blank lines, which usually introduce the next section.
    std::size_t at = target.lines.size();
    if (at > 0 && !target.lines[at - 1].isKey()) {
        --at;
    }
    std::string text(keyName);
    text.append(1, '=').append(safeValue);
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at),
                        Line{std::move(text), keyName.size() + 1});
    target.keys.emplace(folded, at);
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

IniFile::Section& IniFile::sectionForWrite(std::string_view name) {
    std::string folded = fold(name);
    const auto found = sectionIndex_.find(folded);
    if (found != sectionIndex_.end()) {
        return sections_[found->second];
    }
    Section section;
    section.header = "[" + std::string(name) + "]";
    section.name = std::move(folded);
    sectionIndex_.emplace(section.name, sections_.size());
    sections_.push_back(std::move(section));
    return sections_.back();
}

void IniFile::eraseSection(const std::string& section) {
    const std::string folded = fold(section);
    if (sectionIndex_.count(folded) == 0) {
        return;
    }
    sections_.erase(std::remove_if(sections_.begin() + 1, sections_.end(),
                                   [&](const Section& s) { return s.name == folded; }),
                    sections_.end());
    rebuildSectionIndex();
}

void IniFile::eraseKey(const std::string& section, const std::string& key) {
    const auto sectionIt = sectionIndex_.find(fold(section));
    const std::string folded = fold(key);
    if (sectionIt == sectionIndex_.end() || folded.empty()) {
        return;
    }
    // Repeats live inside the runs of lines that are no keys; each line is judged as the
    // loader judges it.
    const auto isThatKey = [&folded](std::string_view line) {
        const std::size_t first = line.find_first_not_of(kBlanks);
        const std::size_t equals = line.find('=');
        return equals != std::string_view::npos && line[first] != ';' &&
               fold(line.substr(0, equals)) == folded;
    };
    Section& target = sections_[sectionIt->second];
    std::vector<Line> kept;
    for (Line& line : target.lines) {
        if (line.isKey()) {
            if (!isThatKey(line.text)) {
                kept.push_back(std::move(line));
            }
            continue;
        }
        std::string others;
        bool keptAny = false;
        std::string_view rest(line.text);
        for (;;) {
            const std::size_t end = rest.find('\n');
            const std::string_view one = rest.substr(0, end);
            if (!isThatKey(one)) {
                others.append(keptAny ? 1 : 0, '\n').append(one);
                keptAny = true;
            }
            if (end == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(end + 1);
        }
        if (keptAny) {
            kept.push_back({std::move(others), Line::kNotAKey});
        }
    }
    target.lines = std::move(kept);
    target.keys.clear();
    for (std::size_t i = 0; i < target.lines.size(); ++i) {
        if (target.lines[i].isKey()) {
            const Line& line = target.lines[i];
            target.keys.emplace(fold(std::string_view(line.text).substr(0, line.valueStart - 1)),
                                i);
        }
    }
}

void IniFile::rebuildSectionIndex() {
    sectionIndex_.clear();
    for (std::size_t i = 1; i < sections_.size(); ++i) {
        sectionIndex_.emplace(sections_[i].name, i);
    }
}

std::string IniFile::serialize() const {
    std::string out;
    const auto appendLines = [&out](const std::string& text) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = text.find('\n', start);
            out.append(text, start, end == std::string::npos ? std::string::npos : end - start);
            out.append("\r\n");
            if (end == std::string::npos) {
                return;
            }
            start = end + 1;
        }
    };
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0) {
            appendLines(sections_[i].header);
        }
        for (const Line& line : sections_[i].lines) {
            appendLines(line.text);
        }
    }
    return out;
}

bool IniFile::flush() {
    if (unreadable_) {
        return false;
    }
    const std::optional<QString> target = saveTarget(path_);
    if (!target || !replaceFileAtomically(*target, serialize())) {
        return false;
    }
    exists_ = true;
    return true;
}

QString IniFile::unableToWriteMessage(const QString& path) {
    return QStringLiteral("Unable to write to ") + path;
}

}  // namespace tesk
