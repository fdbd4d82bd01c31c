#include "platform/SoundFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tesk {

QStringList soundFolders() {
    return {QDir::currentPath(),
            QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/tesk"),
            QStringLiteral(TESK_BUILD_DATA_DIR)};
}

QString soundFilePath(const QString& relative, const QStringList& folders) {
    if (relative.isEmpty()) {
        return {};
    }
    for (const QString& folder : folders) {
        const QFileInfo file(QDir(folder), relative);
        if (file.isFile()) {
            return file.absoluteFilePath();
        }
    }
    return {};
}

QString soundFilePath(const QString& relative) {
    return soundFilePath(relative, soundFolders());
}

}  // namespace tesk
