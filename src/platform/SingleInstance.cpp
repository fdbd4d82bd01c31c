#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tesk {

SingleInstance::SingleInstance(const QString& directory)
    : directory_(directory),
      lock_(std::make_unique<QLockFile>(QDir(directory).filePath("TESK.lock"))) {
    lock_->setStaleLockTime(0);  // only a lock whose process is gone counts as stale
}

bool SingleInstance::preparePrivateFolder() {
    const QByteArray folder = QFile::encodeName(directory_);
    if (::mkdir(folder.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        error_ = "Unable to create the lock folder " + directory_ + ".";
        return false;
    }
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        error_ =
            "The lock folder " + directory_ + " belongs to another user or others may write to it.";
        return false;
    }
    return true;
}

SingleInstance::Result SingleInstance::acquire() {
    if (lock_->isLocked()) {
        return Result::Acquired;
    }
    if (!preparePrivateFolder()) {
        return Result::Failed;
    }
    if (lock_->tryLock(0)) {
        return Result::Acquired;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        return Result::AlreadyRunning;
    }
    error_ = "Unable to create the lock file " + lock_->fileName() + ".";
    return Result::Failed;
}

QString SingleInstance::defaultDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        return runtime;
    }
    QString temporary = qEnvironmentVariable("TMPDIR");
    if (temporary.isEmpty()) {
        temporary = "/tmp";
    }
    return QDir(temporary).filePath(QString("tesk-%1").arg(::getuid()));
}

}  // namespace tesk
