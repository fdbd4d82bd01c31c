#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/SoundFiles.h"

using tesk::soundFilePath;
using tesk::soundFolders;

namespace {

const QString kOnline = QStringLiteral("sounds/online.wav");

void put(const QTemporaryDir& folder, const QString& relative) {
    const QString path = folder.filePath(relative);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
}

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// Runs a test in another working folder and goes back afterwards.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& path) : previous_(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

}  // namespace

TEST(SoundFiles, TheFirstFolderHoldingTheFileWins) {
    QTemporaryDir first, second, third;
    const QStringList folders = {first.path(), second.path(), third.path()};
    EXPECT_EQ(soundFilePath(kOnline, folders), QString());

    put(third, kOnline);
    EXPECT_EQ(soundFilePath(kOnline, folders), third.filePath(kOnline));
    put(second, kOnline);
    EXPECT_EQ(soundFilePath(kOnline, folders), second.filePath(kOnline));
    put(first, kOnline);
    EXPECT_EQ(soundFilePath(kOnline, folders), first.filePath(kOnline));

    EXPECT_EQ(soundFilePath(QStringLiteral("sounds/message.wav"), folders), QString());
    EXPECT_EQ(soundFilePath(QString(), folders), QString());
}

TEST(SoundFiles, AFolderCarryingTheFileNameIsPassedOver) {
    QTemporaryDir first, second;
    ASSERT_TRUE(QDir(first.path()).mkpath(kOnline));
    put(second, kOnline);
    EXPECT_EQ(soundFilePath(kOnline, {first.path(), second.path()}), second.filePath(kOnline));
}

TEST(SoundFiles, AnAbsoluteNameIsTakenAsItIs) {
    QTemporaryDir elsewhere, folder;
    put(elsewhere, QStringLiteral("chime.wav"));
    const QString absolute = elsewhere.filePath(QStringLiteral("chime.wav"));
    EXPECT_EQ(soundFilePath(absolute, {folder.path()}), absolute);
}

TEST(SoundFiles, WorkingFolderThenInstalledShareThenBuildTree) {
    QTemporaryDir work;
    WorkingFolder inside(work.path());

    const QStringList folders = soundFolders();
    ASSERT_EQ(folders.size(), 3);
    EXPECT_EQ(canonical(folders[0]), canonical(work.path()));
    EXPECT_EQ(folders[1],
              QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/tesk"));
    EXPECT_EQ(canonical(folders[2]), canonical(QStringLiteral(TESK_BUILD_DIR)));

    // Nothing in the working folder and no installed copy beside the test program: the
    // chime made at build time is found.
    EXPECT_EQ(canonical(soundFilePath(kOnline)),
              canonical(QDir(QStringLiteral(TESK_BUILD_DIR)).filePath(kOnline)));
    put(work, kOnline);
    EXPECT_EQ(canonical(soundFilePath(kOnline)), canonical(work.filePath(kOnline)));
    EXPECT_EQ(soundFilePath(QStringLiteral("sounds/no-such-chime.wav")), QString());
}
