#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "settings/WindowLayout.h"

using namespace tesk;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath("Tesk.ini");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

}  // namespace

TEST(TeskIni, WithoutAFileEveryDefaultApplies) {
    QTemporaryDir dir;
    const IniFile ini(dir.filePath("Tesk.ini"));
    EXPECT_FALSE(ini.exists());
    const SettingsValues s = readSettings(ini);
    EXPECT_FALSE(s.minimize);
    EXPECT_FALSE(s.officeXp);
    EXPECT_TRUE(s.sounds);
    EXPECT_TRUE(s.notifications);
    EXPECT_TRUE(s.history);
    EXPECT_EQ(s.gateway, "europe.battle.net");
    EXPECT_EQ(s.serverType, ServerType::Automatic);  // a new configuration finds it itself
    EXPECT_FALSE(s.force);
    EXPECT_TRUE(s.anonymous);
    EXPECT_EQ(s.user, "");
    EXPECT_EQ(s.password, "");
    const MainFormGeometry g = readMainFormGeometry(ini);
    EXPECT_EQ((std::vector<int>{g.width, g.height, g.left, g.top}),
              (std::vector<int>{130, 300, 150, 150}));
    const ChatFormSize chat = readChatFormSize(ini);
    EXPECT_EQ(chat.width, 350);
    EXPECT_EQ(chat.height, 250);
    EXPECT_FALSE(readToolbarLayout(ini, "MainToolbar", true).has_value());
}

TEST(TeskIni, ValuesAreReadLikeTheProfileFunctionsDo) {
    QTemporaryDir dir;
    const QString path = writeFile(dir,
                                   "[settings]\r\nMinimize=yes\r\nSounds=0x0\r\nforce=7\r\n"
                                   "Gateway=127.0.0.1\r\nAnonymous=0\r\nUser=tesk\r\n");
    const SettingsValues s = readSettings(IniFile(path));
    EXPECT_FALSE(s.minimize);  // not a number: the default
    EXPECT_FALSE(s.sounds);
    EXPECT_FALSE(s.notifications);  // a file from before there were any
    EXPECT_TRUE(s.force);
    EXPECT_EQ(s.gateway, "127.0.0.1");
    EXPECT_FALSE(s.anonymous);
    EXPECT_EQ(s.user, "tesk");
}

TEST(TeskIni, SettingsAreWrittenInTheirOrderWithTheScrambledPassword) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    SettingsValues s;
    s.gateway = "uswest.battle.net";
    s.anonymous = false;
    s.user = "me";
    s.password = "pw";
    {
        IniFile ini(path);
        writeSettings(ini, s);
        ASSERT_TRUE(ini.flush());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // "p" ^ 'W' ^ 0xFF and "w" ^ 'z' ^ 0xFF
    const QByteArray expected =
        "[Settings]\r\nMinimize=0\r\nOfficeXP=0\r\nSounds=1\r\nGateway=uswest.battle.net\r\n"
        "Force=0\r\nAnonymous=0\r\nUser=me\r\nPassword=\xd8\xf2\r\n";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(readSettings(IniFile(path)).password, "pw");
}

TEST(TeskIni, ServerTypeOneIsPvpgnTwoAutomaticAndEveryOtherValueIsClassic) {
    QTemporaryDir dir;
    const std::pair<QByteArray, ServerType> cases[] = {
        {"1", ServerType::PvPGN},     {" 1 ", ServerType::PvPGN},     {"0x1", ServerType::PvPGN},
        {"2", ServerType::Automatic}, {"0", ServerType::Classic},     {"3", ServerType::Classic},
        {"-1", ServerType::Classic},  {"pvpgn", ServerType::Classic}, {"", ServerType::Classic},
    };
    for (const auto& [stored, expected] : cases) {
        const QString path = writeFile(dir, "[Settings]\r\nservertype=" + stored + "\r\n");
        EXPECT_EQ(readSettings(IniFile(path)).serverType, expected) << stored.constData();
    }
}

TEST(TeskIni, ServerTypeIsWrittenOnlyOnceAFileHasChosenOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    const QByteArray classicKeys =
        "[Settings]\r\nMinimize=0\r\nOfficeXP=0\r\nSounds=1\r\nGateway=europe.battle.net\r\n"
        "Force=0\r\nAnonymous=1\r\nUser=\r\nPassword=\r\n";
    const auto save = [&path](ServerType type) {
        SettingsValues s;
        s.serverType = type;
        IniFile ini(path);
        writeSettings(ini, s);
        return ini.flush();
    };
    const auto bytes = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    ASSERT_TRUE(save(ServerType::Classic));
    EXPECT_EQ(bytes(), classicKeys);
    ASSERT_TRUE(save(ServerType::PvPGN));
    EXPECT_EQ(bytes(), classicKeys + "ServerType=1\r\n");
    EXPECT_EQ(readSettings(IniFile(path)).serverType, ServerType::PvPGN);
    ASSERT_TRUE(save(ServerType::Classic));
    EXPECT_EQ(bytes(), classicKeys + "ServerType=0\r\n");
}

// PvPGN's quota: values out of their bounds are damage and give the default; a value is
// written only when it differs from the stock one, so stock files stay as they were.
TEST(TeskIni, QuotaKeysAreReadWithinBoundsAndWrittenOnlyWhenChanged) {
    QTemporaryDir dir;
    const struct {
        QByteArray stored;
        QuotaSettings expected;
    } cases[] = {
        {"", {5, 5, 40, 200}},
        {"quotaunits=8\r\nQuotaSeconds=2\r\nQuotaBytesPerUnit=64\r\nMaxLineBytes=255\r\n",
         {8, 2, 64, 255}},
        {"QuotaUnits=1\r\nQuotaSeconds=0\r\nQuotaBytesPerUnit=-40\r\nMaxLineBytes=31\r\n",
         {5, 5, 40, 200}},
        {"QuotaUnits=x\r\nQuotaSeconds=3601\r\nQuotaBytesPerUnit=4097\r\nMaxLineBytes="
         "99999999999\r\n",
         {5, 5, 40, 200}},
    };
    for (const auto& c : cases) {
        const QString path = writeFile(dir, "[Settings]\r\n" + c.stored);
        const QuotaSettings q = readSettings(IniFile(path)).quota;
        EXPECT_EQ((std::vector<int>{q.units, q.seconds, q.bytesPerUnit, q.maxLineBytes}),
                  (std::vector<int>{c.expected.units, c.expected.seconds, c.expected.bytesPerUnit,
                                    c.expected.maxLineBytes}))
            << c.stored.constData();
    }

    const QString path = dir.filePath("Changed.ini");
    SettingsValues s;
    s.quota.seconds = 7;
    {
        IniFile ini(path);
        writeSettings(ini, s);
        ASSERT_TRUE(ini.flush());
    }
    const IniFile written(path);
    EXPECT_EQ(written.readInteger("Settings", "QuotaSeconds", 0), 7);
    for (const char* stock : {"QuotaUnits", "QuotaBytesPerUnit", "MaxLineBytes"}) {
        EXPECT_EQ(written.readString("Settings", stock, "none"), "none") << stock;
    }
}

TEST(TeskIni, NotificationsAndHistoryAreWrittenOnlyOnceSwitchedOn) {
    for (const auto& [key, field] : {std::pair{"Notifications", &SettingsValues::notifications},
                                     std::pair{"History", &SettingsValues::history}}) {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "[Settings]\r\nSounds=1\r\n");
        const auto save = [&path, key = key, field = field](bool on) {
            SettingsValues s = readSettings(IniFile(path));
            s.*field = on;
            IniFile ini(path);
            writeSettings(ini, s);
            EXPECT_TRUE(ini.flush());
            return ini.readString("Settings", key, "none");
        };
        EXPECT_EQ(save(false), "none") << key;
        EXPECT_EQ(save(true), "1") << key;
        EXPECT_EQ(save(false), "0") << key;
        EXPECT_FALSE(readSettings(IniFile(path)).*field) << key;
    }
}

TEST(TeskIni, ToolbarLayoutRoundTripsAndOtherRevisionsAreIgnored) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    ToolbarLayout ping;
    ping.visible = false;
    ping.dockedTo = "TopDock";
    ping.dockRow = 1;
    ping.dockPos = 40;
    {
        IniFile ini(path);
        writeToolbarLayout(ini, "PingToolbar", ping);
        ini.writeInteger("Toolbar:MainToolbar", "Rev", 1999);
        ini.writeInteger("Toolbar:MainToolbar", "Visible", 0);
        ASSERT_TRUE(ini.flush());
    }
    const IniFile ini(path);
    const auto read = readToolbarLayout(ini, "PingToolbar", true);
    ASSERT_TRUE(read.has_value());
    EXPECT_FALSE(read->visible);
    EXPECT_EQ(read->dockedTo, "TopDock");
    EXPECT_EQ(read->dockRow, 1);
    EXPECT_EQ(read->dockPos, 40);
    EXPECT_FALSE(readToolbarLayout(ini, "MainToolbar", true).has_value());
}

TEST(TeskIni, GeometryRoundTrips) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    {
        IniFile ini(path);
        writeMainFormGeometry(ini, {200, 400, -10, 20});
        writeChatFormSize(ini, {400, 300});
        ASSERT_TRUE(ini.flush());
    }
    const IniFile ini(path);
    const MainFormGeometry g = readMainFormGeometry(ini);
    EXPECT_EQ((std::vector<int>{g.width, g.height, g.left, g.top}),
              (std::vector<int>{200, 400, -10, 20}));
    EXPECT_EQ(readChatFormSize(ini).width, 400);
}
