#include "settings/SaveTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

namespace tesk {

namespace {

constexpr int kMostLinks = 40;  // as the kernel's own limit for a path

QByteArray folderOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

std::optional<QByteArray> linkTarget(const QByteArray& link) {
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlink(link.constData(), target.data(), target.size());
    if (length <= 0 || length >= target.size()) {
        return std::nullopt;
    }
    target.truncate(static_cast<int>(length));
    return target.startsWith('/') ? target : folderOf(link) + '/' + target;
}

bool ownedByUser(const QByteArray& path, bool followLinks) {
    struct stat info {};
    const int result =
        followLinks ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info);
    return result == 0 && info.st_uid == ::getuid();
}

}  // namespace

std::optional<QString> saveTarget(const QString& path) {
    QByteArray current = QFile::encodeName(path);
    for (int links = 0; links <= kMostLinks; ++links) {
        struct stat info {};
        if (::lstat(current.constData(), &info) != 0) {
            return QFile::decodeName(current);  // nothing there yet: a new file
        }
        if (!S_ISLNK(info.st_mode)) {
            if (!(info.st_mode & S_IWUSR)) {
                return std::nullopt;  // read-only
            }
            return QFile::decodeName(current);
        }
        const std::optional<QByteArray> next = linkTarget(current);
        if (!next) {
            return std::nullopt;
        }
        struct stat nextInfo {};
        const bool dangling = ::lstat(next->constData(), &nextInfo) != 0;
        if (dangling && !(ownedByUser(current, false) && ownedByUser(folderOf(*next), true))) {
            return std::nullopt;
        }
        current = *next;
    }
    return std::nullopt;  // a loop, or too long a chain
}

int removeLeftoverTemporaries(const QString& path, std::chrono::seconds minimumAge) {
    const std::optional<QString> target = saveTarget(path);
    const QFileInfo saved(target.value_or(path));
    const QDir folder = saved.absoluteDir();
    // The temporary file of a save is "." + the file name + "." + six random characters.
    // Compared as text: a name filter would take wildcards in the file's own name for
    // patterns, and compiling its pattern would keep a regular-expression compiler
    // resident for the rest of the run.
    const QString prefix = "." + saved.fileName() + ".";
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix)) {
            continue;
        }
        const QByteArray leftover = QFile::encodeName(folder.filePath(name));
        struct stat info {};
        if (::lstat(leftover.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::getuid() && now - info.st_mtime >= minimumAge.count() &&
            ::unlink(leftover.constData()) == 0) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace tesk
