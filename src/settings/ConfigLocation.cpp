#include "settings/ConfigLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tesk {

QString chooseConfigPath(const QString& explicitPath, const QString& executableDir,
                         const QString& xdgConfigHome, const QString& home) {
    if (!explicitPath.isEmpty()) {
        return QFileInfo(explicitPath).absoluteFilePath();
    }
    if (QFileInfo(executableDir).isWritable()) {
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
