#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "settings/ConfigLocation.h"

using tesk::chooseConfigPath;

TEST(ConfigLocation, CommandLineWinsThenAWritableProgramFolderThenTheUserFolder) {
    QTemporaryDir dir;
    const QString programDir = dir.filePath("bin");
    QDir().mkpath(programDir);
    EXPECT_EQ(chooseConfigPath(dir.filePath("my.ini"), programDir, "/xdg", "/home/u"),
              dir.filePath("my.ini"));
    EXPECT_EQ(chooseConfigPath("", programDir, "/xdg", "/home/u"),
              QDir(programDir).filePath("Tesk.ini"));

    // A folder nobody can write to, as an installed program's: the user's folder.
    const QString missing = dir.filePath("no/such/folder");
    EXPECT_EQ(chooseConfigPath("", missing, "/xdg", "/home/u"), "/xdg/tesk/Tesk.ini");
    EXPECT_EQ(chooseConfigPath("", missing, "", "/home/u"), "/home/u/.config/tesk/Tesk.ini");
    // A program installed under /usr, also when root may write there.
    EXPECT_EQ(chooseConfigPath("", "/usr/bin", "/xdg", "/home/u"), "/xdg/tesk/Tesk.ini");
}

TEST(ConfigLocation, ARelativeConfigIsMadeAbsolute) {
    const QString chosen = chooseConfigPath("some.ini", "/usr/bin", "", "/home/u");
    EXPECT_TRUE(QDir::isAbsolutePath(chosen));
    EXPECT_TRUE(chosen.endsWith("/some.ini"));
}
