#include "history/WhisperHistory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <memory>

#include "history/HistoryFileName.h"

namespace tesk {

namespace {

constexpr const char* kRotatedSuffix = ".1";

// Closes the descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Read as well, for the last byte of what is there.
int openForAppending(const QString& path) {
    return ::open(QFile::encodeName(path).constData(),
                  O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// At most the last `maxBytes` of a regular file; empty when there is none.
std::string readEnd(const QString& path, std::int64_t maxBytes, bool& fromStart) {
    fromStart = true;
    const Descriptor fd(::open(QFile::encodeName(path).constData(),
                               O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    const std::int64_t start = std::max<std::int64_t>(0, info.st_size - maxBytes);
    fromStart = start == 0;
    std::string bytes(static_cast<std::size_t>(info.st_size - start), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd.get(), bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(start + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;  // shrunk meanwhile, or unreadable: what was read
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

// The lines of the text, without the piece before the first line feed when the text
// begins inside a line; empty lines are left out.
std::vector<std::string> linesOf(const std::string& text, bool fromStart, std::size_t maxBytes) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    if (!fromStart) {
        const std::size_t first = text.find('\n');
        begin = first == std::string::npos ? text.size() : first + 1;
    }
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > begin) {
            lines.push_back(text.substr(begin, std::min(end - begin, maxBytes)));
        }
        begin = end + 1;
    }
    return lines;
}

std::int64_t sizeOfFiles(const QDir& folder) {
    std::int64_t total = 0;
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
        total += file.size();
    }
    return total;
}

}  // namespace

WhisperHistory::WhisperHistory(QString folder, const HistoryLimits& limits)
    : folder_(std::move(folder)), limits_(limits) {}

QString WhisperHistory::defaultFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty()) {
        data = QDir::home().filePath(".local/share");
    }
    return QDir(data).filePath("tesk/history");
}

void WhisperHistory::setFolder(QString folder) {
    folder_ = std::move(folder);
    folderBytes_.reset();
}

QString WhisperHistory::pathOf(std::string_view partner) const {
    const std::string name = historyFileName(partner);
    if (folder_.isEmpty() || name.empty()) {
        return {};
    }
    return QDir(folder_).filePath(QString::fromStdString(name));
}

bool WhisperHistory::makeFolder() const {
    return QDir().mkpath(folder_) && ::chmod(QFile::encodeName(folder_).constData(), 0700) == 0;
}

bool WhisperHistory::append(std::string_view partner, const std::vector<std::string>& lines) {
    const QString path = pathOf(partner);
    if (path.isEmpty() || !makeFolder()) {
        return false;
    }
    std::string entry;
    for (const std::string& line : lines) {
        entry += line.substr(0, limits_.lineBytes) + '\n';
    }
    auto fd = std::make_unique<Descriptor>(openForAppending(path));
    struct stat info {};
    if (fd->get() < 0 || ::fstat(fd->get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    if (info.st_size > 0 &&
        info.st_size + static_cast<std::int64_t>(entry.size()) > limits_.fileBytes) {
        fd.reset();
        rotate(path);
        fd = std::make_unique<Descriptor>(openForAppending(path));
        if (fd->get() < 0 || ::fstat(fd->get(), &info) != 0) {
            return false;
        }
    }
    // A file whose last line was cut short (a full disk, say) gets its own line ending, so
    // that the entry starts a line of its own.
    char last = '\n';
    if (info.st_size > 0 && ::pread(fd->get(), &last, 1, info.st_size - 1) == 1 && last != '\n') {
        entry.insert(entry.begin(), '\n');
    }
    if ((info.st_mode & 0077) != 0) {
        ::fchmod(fd->get(), 0600);
    }
    if (!writeAll(fd->get(), entry)) {
        return false;
    }
    keepFolderWithinLimit(static_cast<std::int64_t>(entry.size()));
    return true;
}

void WhisperHistory::rotate(const QString& path) {
    const QString rotated = path + kRotatedSuffix;
    ::rename(QFile::encodeName(path).constData(), QFile::encodeName(rotated).constData());
    folderBytes_.reset();
}

void WhisperHistory::keepFolderWithinLimit(std::int64_t added) {
    const QDir folder(folder_);
    if (!folderBytes_) {
        folderBytes_ = sizeOfFiles(folder);
    } else {
        *folderBytes_ += added;
    }
    if (*folderBytes_ <= limits_.folderBytes) {
        return;
    }
    // Only the rotated files give way, oldest first: a partner's current file is never
    // removed to make room.
    const QFileInfoList rotated =
        folder.entryInfoList({QStringLiteral("*.log") + kRotatedSuffix}, QDir::Files | QDir::Hidden,
                             QDir::Time | QDir::Reversed);
    for (const QFileInfo& file : rotated) {
        if (*folderBytes_ <= limits_.folderBytes) {
            break;
        }
        if (QFile::remove(file.filePath())) {
            *folderBytes_ -= file.size();
        }
    }
}

std::vector<std::string> WhisperHistory::tail(std::string_view partner) const {
    const QString path = pathOf(partner);
    if (path.isEmpty()) {
        return {};
    }
    const auto wanted = static_cast<std::size_t>(std::max(0, limits_.tailLines));
    // Enough bytes for the wanted lines at their longest, whatever the file holds.
    const auto maxBytes =
        static_cast<std::int64_t>(wanted) * static_cast<std::int64_t>(limits_.lineBytes + 1);
    bool fromStart = true;
    const std::string current = readEnd(path, maxBytes, fromStart);
    std::vector<std::string> lines = linesOf(current, fromStart, limits_.lineBytes);
    if (lines.size() < wanted) {
        const std::string rotated = readEnd(path + kRotatedSuffix, maxBytes, fromStart);
        std::vector<std::string> older = linesOf(rotated, fromStart, limits_.lineBytes);
        older.insert(older.end(), std::make_move_iterator(lines.begin()),
                     std::make_move_iterator(lines.end()));
        lines = std::move(older);
    }
    if (lines.size() > wanted) {
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(wanted));
    }
    return lines;
}

void WhisperHistory::remove(std::string_view partner) {
    const QString path = pathOf(partner);
    if (path.isEmpty()) {
        return;
    }
    QFile::remove(path);
    QFile::remove(path + kRotatedSuffix);
    folderBytes_.reset();
}

}  // namespace tesk
