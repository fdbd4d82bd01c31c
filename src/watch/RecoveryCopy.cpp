#include "watch/RecoveryCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "settings/IniFile.h"
#include "watch/WatchListFile.h"

namespace tesk {

QString recoveryCopyPath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty()) {
        state = QDir::home().filePath(".local/state");
    }
    return QDir(state).filePath("tesk/Tesk.ini.recovered");
}

namespace {

bool writeRecoveryCopy(const QString& path, const std::vector<std::string>& names) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    IniFile copy(path);
    writeWatchedNames(copy, names);
    return copy.flush();
}

}  // namespace

std::string keepUnsavedWatchList(const QString& iniPath, const QString& copyPath,
                                 const std::vector<std::string>& names) {
    std::string report = IniFile::unableToWriteMessage(iniPath).toStdString() + ".";
    if (!copyPath.isEmpty() && writeRecoveryCopy(copyPath, names)) {
        report += " The watch list was kept in " + copyPath.toStdString() + ".";
    }
    return report;
}

void retireRecoveryCopy(const QString& path) {
    if (QFileInfo::exists(path)) {
        QFile::remove(path + ".old");
        QFile::rename(path, path + ".old");
    }
}

QString recoveryNotice(const QString& iniPath, const QString& copyPath) {
    return "The watch list could not be saved to " + iniPath +
           " when TESK last ended. It was kept in " + copyPath + ".";
}

}  // namespace tesk
