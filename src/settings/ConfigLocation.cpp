#include "settings/ConfigLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tesk {

namespace {

// A program under /usr was installed for the whole system (by a package, say), not copied
// somewhere to be carried along: its folder is no place for a user's settings even when
// the user (root) may write there.
bool isSystemFolder(const QString& dir) {
    const QString path = QFileInfo(dir).canonicalFilePath();
    return path == QLatin1String("/usr") || path.startsWith(QLatin1String("/usr/"));
}

}  // namespace

QString chooseConfigPath(const QString& explicitPath, const QString& executableDir,
                         const QString& xdgConfigHome, const QString& home) {
    if (!explicitPath.isEmpty()) {
        return QFileInfo(explicitPath).absoluteFilePath();
    }
    if (QFileInfo(executableDir).isWritable() && !isSystemFolder(executableDir)) {
        return QDir(executableDir).filePath("Tesk.ini");
    }
    const QString base = xdgConfigHome.isEmpty() ? QDir(home).filePath(".config") : xdgConfigHome;
    return QDir(QDir(base).filePath("tesk")).filePath("Tesk.ini");
}

QString chooseConfigPath(const QString& explicitPath) {
    return chooseConfigPath(explicitPath, QCoreApplication::applicationDirPath(),
                            qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
}

}  // namespace tesk
