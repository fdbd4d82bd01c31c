#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>

#include "InstalledTree.h"
#include "platform/DesktopFileName.h"

using tesk::test::installedPrefix;

namespace {

// The desktop entry is installed under the id the program gives Wayland and the
// notification service, so that they find its name and icon.
QString desktopEntryPath() {
    return QStringLiteral("share/applications/%1.desktop").arg(tesk::kDesktopFileName);
}

QMap<QString, QString> desktopEntry(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QMap<QString, QString> keys;
    bool inEntry = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
        } else if (inEntry && line.contains('=')) {
            keys.insert(line.section('=', 0, 0), line.section('=', 1));
        }
    }
    return keys;
}

}  // namespace

TEST(InstallTree, EveryFileIsInPlace) {
    const QString prefix = installedPrefix();
    ASSERT_FALSE(prefix.isEmpty());
    const QStringList expected = tesk::test::packagedFiles() << "share/doc/tesk/LICENSE";
    const QDir root(prefix);
    for (const QString& relative : expected) {
        const QFileInfo file(root.filePath(relative));
        EXPECT_TRUE(file.isFile() && file.size() > 0) << relative.toStdString();
    }
    EXPECT_TRUE(QFileInfo(root.filePath("bin/tesk")).isExecutable());
}

TEST(InstallTree, DesktopEntryStartsTheInstalledProgramWithItsIcon) {
    const QString prefix = installedPrefix();
    ASSERT_FALSE(prefix.isEmpty());
    const QDir root(prefix);
    const auto keys = desktopEntry(root.filePath(desktopEntryPath()));
    EXPECT_EQ(keys.value("Type"), "Application");
    EXPECT_EQ(keys.value("Terminal"), "false");
    EXPECT_FALSE(keys.value("Name").isEmpty());
    EXPECT_TRUE(keys.value("Categories").split(';').contains("InstantMessaging"));
    // The launcher finds the program on PATH under bin/ and the icon in the theme by name.
    EXPECT_TRUE(QFileInfo(root.filePath("bin/" + keys.value("Exec"))).isExecutable());
    EXPECT_TRUE(QFileInfo::exists(
        root.filePath("share/icons/hicolor/scalable/apps/" + keys.value("Icon") + ".svg")));
}

TEST(InstallTree, DesktopEntryPassesDesktopFileValidate) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate is not installed (Debian package "
                        "desktop-file-utils); the desktop entry was not validated";
    }
    const QString prefix = installedPrefix();
    ASSERT_FALSE(prefix.isEmpty());
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(validator, {QDir(prefix).filePath(desktopEntryPath())});
    ASSERT_TRUE(process.waitForFinished(30000));
    // Warnings and hints count too: a clean entry prints nothing.
    const QString output = QString::fromLocal8Bit(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
    EXPECT_EQ(output, QString());
}
