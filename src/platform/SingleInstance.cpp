#include "platform/SingleInstance.h"

#include <QDir>

namespace tesk {

SingleInstance::SingleInstance(const QString& directory)
    : lock_(std::make_unique<QLockFile>(QDir(directory).filePath("TESK.lock"))) {
    lock_->setStaleLockTime(0);  // only a lock whose process is gone counts as stale
}

bool SingleInstance::acquire() {
    return lock_->isLocked() || lock_->tryLock(0);
}

QString SingleInstance::defaultDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace tesk
