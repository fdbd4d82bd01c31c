#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/IniFile.h"
#include "watch/WatchListFile.h"

using namespace tesk;
using Names = std::vector<std::string>;

TEST(WatchListFile, CountWithMissingKeysGivesEmptyNames) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    {
        IniFile ini(path);
        ini.writeString("Users", "Count", "3");
        ini.writeString("Users", "0", "alice");
        ini.writeString("Users", "2", "carol");
        ASSERT_TRUE(ini.flush());
    }
    EXPECT_EQ(readWatchedNames(IniFile(path)), (Names{"alice", "", "carol"}));
}

TEST(WatchListFile, RewritingAShorterListLeavesNoOldNames) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    {
        IniFile ini(path);
        writeWatchedNames(ini, {"a", "b", "c", "d", "e"});
        ini.writeString("Other", "Key", "kept");
        ASSERT_TRUE(ini.flush());
    }
    {
        IniFile ini(path);
        writeWatchedNames(ini, {"x", "y"});
        ASSERT_TRUE(ini.flush());
    }
    const IniFile ini(path);
    EXPECT_EQ(readWatchedNames(ini), (Names{"x", "y"}));
    EXPECT_EQ(ini.readString("Users", "2", "gone"), "gone");
    EXPECT_EQ(ini.readString("Other", "Key", ""), "kept");
}

TEST(WatchListFile, MissingOrNegativeCountIsAnEmptyList) {
    QTemporaryDir dir;
    EXPECT_TRUE(readWatchedNames(IniFile(dir.filePath("none.ini"))).empty());
    const QString path = dir.filePath("Tesk.ini");
    {
        IniFile ini(path);
        ini.writeString("Users", "Count", "-5");
        ASSERT_TRUE(ini.flush());
    }
    EXPECT_TRUE(readWatchedNames(IniFile(path)).empty());
}

TEST(WatchListFile, EmptyListSavesACountOfZero) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    {
        IniFile ini(path);
        writeWatchedNames(ini, {});
        ASSERT_TRUE(ini.flush());
    }
    EXPECT_EQ(IniFile(path).readString("Users", "Count", ""), "0");
}
