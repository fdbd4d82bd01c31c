#include "InstalledTree.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "platform/DesktopFileName.h"

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

QStringList packagedFiles() {
    QStringList files = {"bin/tesk",
                         QStringLiteral("share/applications/%1.desktop").arg(kDesktopFileName),
                         QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kDesktopFileName),
                         "share/man/man1/tesk.1.gz",
                         "share/doc/tesk/copyright",
                         "share/doc/tesk/changelog.gz",
                         "share/icons/hicolor/scalable/apps/tesk.svg",
                         "share/tesk/sounds/online.wav",
                         "share/tesk/sounds/message.wav"};
    for (int size : {16, 32, 48, 64, 128}) {
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/tesk.png").arg(size);
    }
    return files;
}

}  // namespace tesk::test
