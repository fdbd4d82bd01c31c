#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "settings/IniFile.h"
#include "settings/SaveTarget.h"

using namespace tesk;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool save(const QString& path, const std::string& value) {
    IniFile ini(path);
    ini.writeString("Settings", "Gateway", value);
    return ini.flush();
}

}  // namespace

// A chain of links stays a chain and the file at its end is rewritten; a dangling link
// of our own creates its target; a read-only file is never replaced.
TEST(SaveTarget, LinksAreFollowedToTheEndAndReadOnlyFilesAreKept) {
    QTemporaryDir dir;
    const QString real = dir.filePath("real.ini");
    ASSERT_TRUE(save(real, "one"));
    ASSERT_TRUE(QFile::link(real, dir.filePath("middle.ini")));
    ASSERT_TRUE(QFile::link(dir.filePath("middle.ini"), dir.filePath("Tesk.ini")));
    ASSERT_TRUE(save(dir.filePath("Tesk.ini"), "two"));
    EXPECT_TRUE(QFileInfo(dir.filePath("middle.ini")).isSymLink());
    EXPECT_TRUE(QFileInfo(dir.filePath("Tesk.ini")).isSymLink());
    EXPECT_EQ(IniFile(real).readString("Settings", "Gateway", ""), "two");

    ASSERT_TRUE(QDir(dir.path()).mkdir("elsewhere"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere/new.ini"), dir.filePath("dangling.ini")));
    ASSERT_TRUE(save(dir.filePath("dangling.ini"), "three"));
    EXPECT_EQ(IniFile(dir.filePath("elsewhere/new.ini")).readString("Settings", "Gateway", ""),
              "three");

    ASSERT_TRUE(QFile::link(dir.filePath("loop.ini"), dir.filePath("loop.ini")));
    EXPECT_FALSE(save(dir.filePath("loop.ini"), "four"));

    const QByteArray before = bytesOf(real);
    ASSERT_TRUE(QFile::setPermissions(real, QFile::ReadOwner));
    EXPECT_FALSE(save(dir.filePath("Tesk.ini"), "five"));
    EXPECT_EQ(bytesOf(real), before);
}

TEST(SaveTarget, ADanglingLinkOfAnotherUserIsNotFollowed) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "only root can give a link to another user here";
    }
    QTemporaryDir dir;
    const QString link = dir.filePath("Tesk.ini");
    ASSERT_TRUE(QFile::link(dir.filePath("target.ini"), link));
    ASSERT_EQ(::lchown(QFile::encodeName(link).constData(), 65534, 65534), 0);
    EXPECT_FALSE(save(link, "x"));
    EXPECT_FALSE(QFile::exists(dir.filePath("target.ini")));
}

TEST(SaveTarget, LeftoverTemporariesOlderThanAMinuteAreRemoved) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    ASSERT_TRUE(save(path, "kept"));
    const auto make = [&dir](const QString& name, int ageSeconds) {
        const QString file = dir.filePath(name);
        QFile(file).open(QIODevice::WriteOnly);
        struct timeval times[2] = {};
        ::gettimeofday(&times[0], nullptr);
        times[0].tv_sec -= ageSeconds;
        times[1] = times[0];
        ::utimes(QFile::encodeName(file).constData(), times);
        return file;
    };
    const QString old = make(".Tesk.ini.a1B2c3", 120);
    const QString fresh = make(".Tesk.ini.d4E5f6", 0);
    const QString other = make(".Other.ini.a1B2c3", 120);
    EXPECT_EQ(removeLeftoverTemporaries(path), 1);
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_TRUE(QFile::exists(path));
}
