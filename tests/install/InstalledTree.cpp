#include "InstalledTree.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace tesk::test {
namespace {

struct Installation {
    QTemporaryDir folder;
    QString error;

    Installation() {
        if (!folder.isValid()) {
            error = QStringLiteral("no temporary folder");
            return;
        }
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(TESK_CMAKE_COMMAND),
                    {QStringLiteral("--install"), QStringLiteral(TESK_BUILD_DIR),
                     QStringLiteral("--prefix"), folder.path()});
        if (!cmake.waitForFinished(60000) || cmake.exitStatus() != QProcess::NormalExit ||
            cmake.exitCode() != 0) {
            error = QStringLiteral("cmake --install failed:\n") +
                    QString::fromLocal8Bit(cmake.readAll()) + cmake.errorString();
        }
    }
};

}  // namespace

QString installedPrefix() {
    static const Installation installation;
    if (!installation.error.isEmpty()) {
        ADD_FAILURE() << installation.error.toStdString();
        return {};
    }
    return installation.folder.path();
}

}  // namespace tesk::test
