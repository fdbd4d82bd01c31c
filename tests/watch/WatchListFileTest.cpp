#include <gtest/gtest.h>

#include <QRegularExpression>
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

// A damaged Count neither erases nor inflates the list: a missing, negative or
// non-numeric one stands for the numbered names present, a larger one is cut to them.
TEST(WatchListFile, DamagedCountTakesTheNamesPresent) {
    QTemporaryDir dir;
    EXPECT_TRUE(readWatchedNames(IniFile(dir.filePath("none.ini"))).empty());
    const std::pair<QByteArray, Names> cases[] = {
        {"Count=-5\r\n0=alice\r\n1=bob\r\n", {"alice", "bob"}},
        {"Count=many\r\n0=alice\r\n2=carol\r\n", {"alice", "", "carol"}},
        {"Count=2147483647\r\n0=alice\r\n1=bob\r\n", {"alice", "bob"}},
        {"0=alice\r\n", {"alice"}},
        {"Count=1\r\n0=alice\r\n1=bob\r\n", {"alice"}},
        {"Count=0\r\n0=alice\r\n", {}},
        {"Count=x\r\n01=padded\r\nname=word\r\n", {}},
    };
    const QString path = dir.filePath("Tesk.ini");
    for (const auto& [users, expected] : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Users]\r\n" + users);
        file.close();
        EXPECT_EQ(readWatchedNames(IniFile(path)), expected) << users.constData();
    }
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

// Through a restart: the times come back for the names still watched, a removed name
// leaves the section, and a damaged entry or one for a name not watched changes nothing.
TEST(WatchListFile, LastSeenSurvivesARestartForTheNamesStillWatched) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    const auto at = [](int hour, int minute) {
        return QDateTime(QDate(2024, 5, 1), QTime(hour, minute));
    };
    QDateTime now;
    WatchListModel before;
    before.setClock([&now] { return now; });
    before.assign({"alice", "bob", "carol"});
    WatchedUser online;
    online.presence = Presence::Online;
    WatchedUser offline;
    offline.presence = Presence::Offline;
    const auto reply = [&](const char* name, const WatchedUser& user, QDateTime when) {
        now = when;
        before.setUser(before.find(name), user);
    };
    reply("alice", offline, at(8, 0));
    reply("alice", online, at(9, 0));
    reply("bob", online, at(10, 0));
    reply("bob", offline, at(11, 0));
    reply("alice", online, at(14, 2));
    before.removeRowsAt({before.find("bob")});
    {
        IniFile ini(path);
        writeWatchedNames(ini, before.names());
        writeLastSeen(ini, before.sightings());
        ASSERT_TRUE(ini.flush());
    }
    const QRegularExpression time("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d([+-]\\d\\d:\\d\\d|Z)");
    const QRegularExpression aliceLine("^alice\t(" + time.pattern() + ")\t(" + time.pattern() +
                                       ")$");
    {
        IniFile ini(path);
        // carol, never seen, needs no entry.
        EXPECT_EQ(ini.readString("LastSeen", "Count", ""), "1");
        EXPECT_TRUE(aliceLine.match(QString::fromStdString(ini.readString("LastSeen", "0", "")))
                        .hasMatch());
        ini.writeString("LastSeen", "1", "carol\t\t");
        ini.writeString("LastSeen", "Count", "5");
        ini.writeString("LastSeen", "2", "zed\t\t2024-05-01T08:00:00+00:00");
        ini.writeString("LastSeen", "3", "alice\t\tyesterday");
        ini.writeString("LastSeen", "4", "alice 2024-05-01T08:00:00+00:00");
        ASSERT_TRUE(ini.flush());
    }

    WatchListModel after;
    after.assign(readWatchedNames(IniFile(path)), readLastSeen(IniFile(path)));
    ASSERT_EQ(after.names(), (Names{"alice", "carol"}));
    EXPECT_EQ(after.row(0).seen, (Sightings{at(9, 0), at(14, 2)}));
    EXPECT_EQ(after.row(1).seen, Sightings{});
    EXPECT_EQ(after.row(0).user.presence, Presence::Unknown);
    {
        IniFile ini(path);
        writeLastSeen(ini, after.sightings());
        ASSERT_TRUE(ini.flush());
    }
    const std::vector<NamedSightings> stored = readLastSeen(IniFile(path));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].name, "alice");
}
