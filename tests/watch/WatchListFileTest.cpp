#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/IniFile.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

#include <QFile>

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

TEST(WatchListFile, HundredThousandUsersLoadSortedAndSaveBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    std::vector<std::string> names;
    for (int i = 99999; i >= 0; --i) {
        names.push_back("user" + std::to_string(i));
    }
    {
        IniFile ini(path);
        writeWatchedNames(ini, names);
        ASSERT_TRUE(ini.flush());
    }
    WatchListModel list;
    list.assign(readWatchedNames(IniFile(path)));
    ASSERT_EQ(list.size(), 100000);
    EXPECT_EQ(list.row(0).name, "user0");
    EXPECT_EQ(list.find("USER99999"), list.find("user99999"));
    EXPECT_GE(list.find("user99999"), 0);
    {
        IniFile ini(path);
        writeWatchedNames(ini, list.names());
        ASSERT_TRUE(ini.flush());
    }
    EXPECT_EQ(readWatchedNames(IniFile(path)).size(), 100000u);
}

TEST(WatchListFile, GarbageFileGivesDefaultsAndAnEmptyList) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray garbage;
    for (unsigned i = 0; i < 1u << 20; ++i) {
        garbage += static_cast<char>((i * 7919u + 13u) & 0xffu);
    }
    file.write(garbage);
    file.close();
    const IniFile ini(path);
    EXPECT_TRUE(readWatchedNames(ini).size() < 1000000u);  // whatever it finds, it stays bounded
    EXPECT_EQ(ini.readInteger("MainForm", "Width", 130), 130);
}
