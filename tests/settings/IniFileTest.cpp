#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <random>
#include <string>

#include "settings/IniFile.h"

using tesk::IniFile;

namespace {

void writeFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll().toStdString();
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode & 07777;
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& name = QStringLiteral("Tesk.ini")) const {
        return dir_.filePath(name);
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(IniFileTest, MissingFileGivesDefaultsAndIsCreatedOnlyByFlush) {
    IniFile ini(path());
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.readString("Settings", "Gateway", "europe.battle.net"), "europe.battle.net");
    EXPECT_EQ(ini.readInteger("MainForm", "Width", 130), 130);
    EXPECT_TRUE(ini.readBool("Settings", "Sounds", true));
    EXPECT_FALSE(QFile::exists(path()));

    ini.writeInteger("ChatForm", "Width", 350);
    EXPECT_FALSE(QFile::exists(path()));
    ASSERT_TRUE(ini.flush());
    EXPECT_TRUE(ini.exists());
    EXPECT_TRUE(IniFile(path()).exists());
    EXPECT_EQ(readFile(path()), "[ChatForm]\r\nWidth=350\r\n");
}

TEST_F(IniFileTest, ReadsIntegersAndBooleansOnlyFromWholeNumbers) {
    struct Case {
        std::string value;
        int integer;   // expected with the default 99
        bool boolean;  // expected with the default false
    };
    const Case cases[] = {
        {"yes", 99, false},
        {"", 99, false},
        {"12abc", 99, false},
        {"7", 7, true},
        {"0", 0, false},
        {"-12", -12, true},
        {" 42\t", 42, true},
        {"007", 7, true},
        {"0x0", 0, false},
        {"0x2", 2, true},
        {"0X1f", 31, true},
        {"0x", 99, false},
        {"0x-5", 99, false},
        {"0xg", 99, false},
        {"-0x5", 99, false},
        {"+5", 99, false},
        {"1 2", 99, false},
        {"-", 99, false},
        {"2147483647", INT_MAX, true},
        {"2147483648", 99, false},
        {"-2147483648", INT_MIN, true},
        {"-2147483649", 99, false},
        {"0x7FFFFFFF", INT_MAX, true},
        {"0x80000000", 99, false},
    };
    std::string text = "[Settings]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        text += "K" + std::to_string(i) + "=" + cases[i].value + "\n";
    }
    writeFile(path(), text);

    IniFile ini(path());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string key = "K" + std::to_string(i);
        SCOPED_TRACE("value \"" + cases[i].value + "\"");
        EXPECT_EQ(ini.readInteger("Settings", key, 99), cases[i].integer);
        EXPECT_EQ(ini.readBool("Settings", key, false), cases[i].boolean);
    }
    EXPECT_TRUE(ini.readBool("Settings", "K0", true)) << "\"yes\" keeps a default of true";
}

TEST_F(IniFileTest, FindsSectionsAndKeysIgnoringCaseAndBlanksAndKeepsValueBytes) {
    writeFile(path(),
              "[ users ]\r\n"
              "  COUNT = 3\r\n"
              "0=alice\r\n"
              "2=carol\r\n"
              "[SETTINGS]\r\n"
              "gateway= host with spaces \r\n"
              "User=a=b\r\n"
              "Empty=\r\n");
    IniFile ini(path());
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(ini.readInteger("Users", "Count", 0), 3);
    EXPECT_EQ(ini.readString("USERS", "0", "?"), "alice");
    EXPECT_EQ(ini.readString("Users", "1", ""), "") << "a key missing below Count";
    EXPECT_EQ(ini.readString("users", "2", ""), "carol");
    EXPECT_EQ(ini.readString("Settings", "Gateway", ""), " host with spaces ");
    EXPECT_EQ(ini.readString("Settings", "User", ""), "a=b");
    EXPECT_EQ(ini.readString("Settings", "Empty", "def"), "");
    EXPECT_EQ(ini.readString("Settings", "Missing", "def"), "def");
    EXPECT_EQ(ini.readString("Other", "User", "def"), "def");
}

TEST_F(IniFileTest, ReadsCrLfLfAndMixedLineEnds) {
    for (const std::string& text :
         {std::string("[S]\r\nA=1\r\nB=two\r\n"), std::string("[S]\nA=1\nB=two\n"),
          std::string("[S]\r\nA=1\nB=two")}) {
        writeFile(path(), text);
        IniFile ini(path());
        EXPECT_EQ(ini.readInteger("S", "A", 0), 1);
        EXPECT_EQ(ini.readString("S", "B", ""), "two");
    }
}

TEST_F(IniFileTest, FirstOccurrenceOfARepeatedSectionOrKeyWins) {
    writeFile(path(), "[S]\nA=first\nA=second\n[T]\nX=1\n[s]\nA=third\nB=hidden\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readString("S", "A", ""), "first");
    EXPECT_EQ(ini.readString("S", "B", "none"), "none");

    ini.writeString("S", "A", "new");
    EXPECT_EQ(ini.readString("S", "A", ""), "new");
}

TEST_F(IniFileTest, LinesThatAreNotKeysYieldNothing) {
    writeFile(path(),
              "Orphan=above any section\n"
              "[S]\n"
              ";Commented=1\n"
              "  ; Indented=1\n"
              "=no name\n"
              "just text\n"
              "[Broken\n"
              "Inside=yes\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readString("S", "Orphan", "none"), "none");
    EXPECT_EQ(ini.readString("S", ";Commented", "none"), "none");
    EXPECT_EQ(ini.readString("S", "; Indented", "none"), "none");
    EXPECT_EQ(ini.readString("S", "", "none"), "none");
    EXPECT_EQ(ini.readString("S", "Inside", "none"), "none");
    EXPECT_EQ(ini.readString("Broken", "Inside", "none"), "yes");
}

TEST_F(IniFileTest, LongValuesAreCutWhenReadAndNulEndsAValue) {
    const std::string huge(1024 * 1024, 'v');
    writeFile(path(), "[S]\nLong=" + huge + "\nNul=ab" + std::string(1, '\0') + "cd\nNext=ok\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readString("S", "Long", ""), std::string(IniFile::kMaxValueBytes, 'v'));
    EXPECT_EQ(ini.readString("S", "Nul", ""), "ab");
    EXPECT_EQ(ini.readString("S", "Next", ""), "ok");

    ini.writeString("S", "Written", huge);
    ASSERT_TRUE(ini.flush());
    EXPECT_EQ(IniFile(path()).readString("S", "Written", "").size(), IniFile::kMaxValueBytes);
}

TEST_F(IniFileTest, RewriteKeepsEverythingItDoesNotChange) {
    writeFile(path(),
              "; written by hand\n"
              "[Settings]\n"
              "  Gateway = old.host\n"
              "Unknown=kept\n"
              "junk line\n"
              "Sounds=1\n"
              "\n"
              "; toolbars follow\n"
              "[Toolbar:MainToolbar]\n"
              "Rev=2000\n"
              "[Extra]\n"
              "X=y\n");
    IniFile ini(path());
    ini.writeString("SETTINGS", "gateway", "new.host");
    ini.writeBool("Settings", "Force", true);
    ini.writeInteger("Toolbar:MainToolbar", "DockPos", -5);
    ini.writeInteger("ChatForm", "Width", 350);
    ASSERT_TRUE(ini.flush());

    EXPECT_EQ(readFile(path()),
              "; written by hand\r\n"
              "[Settings]\r\n"
              "  Gateway =new.host\r\n"
              "Unknown=kept\r\n"
              "junk line\r\n"
              "Sounds=1\r\n"
              "Force=1\r\n"
              "\r\n"
              "; toolbars follow\r\n"
              "[Toolbar:MainToolbar]\r\n"
              "Rev=2000\r\n"
              "DockPos=-5\r\n"
              "[Extra]\r\n"
              "X=y\r\n"
              "[ChatForm]\r\n"
              "Width=350\r\n");
}

TEST_F(IniFileTest, UsersSectionErasedAndRewrittenHoldsExactlyTheNewList) {
    writeFile(path(),
              "[Users]\r\nCount=5\r\n0=a\r\n1=b\r\n2=c\r\n3=d\r\n4=e\r\n"
              "[MainForm]\r\nWidth=130\r\n"
              "[users]\r\n5=stray duplicate\r\n");
    IniFile ini(path());
    ini.eraseSection("Users");
    EXPECT_EQ(ini.readInteger("Users", "Count", 0), 0);
    ini.writeInteger("Users", "Count", 2);
    ini.writeString("Users", "0", "alice");
    ini.writeString("Users", "1", "bob");
    ASSERT_TRUE(ini.flush());

    EXPECT_EQ(readFile(path()),
              "[MainForm]\r\nWidth=130\r\n"
              "[Users]\r\nCount=2\r\n0=alice\r\n1=bob\r\n");
    IniFile reread(path());
    EXPECT_EQ(reread.readString("Users", "1", ""), "bob");
    EXPECT_EQ(reread.readString("Users", "2", "none"), "none");
    EXPECT_EQ(reread.readInteger("MainForm", "Width", 0), 130);
}

TEST_F(IniFileTest, WritesThatWouldBreakTheFileAreCutOrIgnored) {
    writeFile(path(), "[S]\nA=1\n");
    IniFile ini(path());
    ini.writeString("S", "A", "first\r\n[Injected]\r\nB=2");
    ini.writeString("S", "Z", std::string("x\0y", 3));
    ini.writeString("S", "C=D", "v");
    ini.writeString("S", "", "v");
    ini.writeString("S", ";C", "v");
    ini.writeString("S", "[C", "v");
    ini.writeString("S", "Line\nBreak", "v");
    ini.writeString("S]x", "K", "v");
    ini.writeString(" ", "K", "v");
    ASSERT_TRUE(ini.flush());

    EXPECT_EQ(readFile(path()), "[S]\r\nA=first\r\nZ=x\r\n");
    EXPECT_EQ(IniFile(path()).readString("Injected", "B", "none"), "none");
}

TEST_F(IniFileTest, FlushCreatesAndRewritesTheFileWithMode0600) {
    IniFile created(path());
    created.writeString("Settings", "Password", "\xDB\xE0");
    ASSERT_TRUE(created.flush());
    EXPECT_EQ(modeOf(path()), 0600u);

    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0644), 0);
    IniFile rewritten(path());
    rewritten.writeString("Settings", "User", "me");
    ASSERT_TRUE(rewritten.flush());
    EXPECT_EQ(modeOf(path()), 0600u);
    EXPECT_EQ(entriesOf(dir_.path()), QStringList{"Tesk.ini"}) << "no temporary file is left";
}

TEST_F(IniFileTest, FlushThroughASymbolicLinkReplacesItsTarget) {
    writeFile(path("real.ini"), "[S]\nA=1\n");
    ASSERT_TRUE(QFile::link(path("real.ini"), path()));
    IniFile ini(path());
    EXPECT_EQ(ini.readInteger("S", "A", 0), 1);
    ini.writeInteger("S", "A", 2);
    ASSERT_TRUE(ini.flush());

    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readFile(path("real.ini")), "[S]\r\nA=2\r\n");
}

TEST_F(IniFileTest, FlushFailsWhenTheFolderIsMissing) {
    const QString missing = path("gone/Tesk.ini");
    IniFile ini(missing);
    ini.writeInteger("S", "A", 1);
    EXPECT_FALSE(ini.flush());
    EXPECT_FALSE(ini.exists());
    EXPECT_FALSE(QFileInfo::exists(path("gone")));
    EXPECT_EQ(IniFile::unableToWriteMessage(missing), "Unable to write to " + missing);
}

TEST_F(IniFileTest, FlushFailsWhenTheTargetIsAFolderAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Tesk.ini"));
    writeFile(path("Tesk.ini/inside"), "x");
    IniFile ini(path());
    EXPECT_FALSE(ini.exists());
    ini.writeInteger("S", "A", 1);
    EXPECT_FALSE(ini.flush());
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(readFile(path("Tesk.ini/inside")), "x");
    EXPECT_EQ(entriesOf(dir_.path()), QStringList{"Tesk.ini"});
}

TEST_F(IniFileTest, FlushFailsInAReadOnlyFolder) {
    const std::string old = "[S]\r\nA=1\r\n";
    writeFile(path(), old);
    const QByteArray folder = QFile::encodeName(dir_.path());
    ASSERT_EQ(::chmod(folder.constData(), 0500), 0);
    struct RestoreMode {
        const QByteArray& folder;
        ~RestoreMode() { ::chmod(folder.constData(), 0700); }
    } restore{folder};
    if (::access(folder.constData(), W_OK) == 0) {
        GTEST_SKIP() << "this user may write to read-only folders";
    }

    IniFile ini(path());
    ini.writeInteger("S", "A", 2);
    EXPECT_FALSE(ini.flush());
    EXPECT_EQ(readFile(path()), old);
}

// A file-size limit makes the write of the temporary file fail part way, for any user.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntactAndARetryCanSucceed) {
    std::string old = "[Users]\r\nCount=1\r\n0=alice\r\n";
    writeFile(path(), old);
    IniFile ini(path());
    ini.eraseSection("Users");
    for (int i = 0; i < 5000; ++i) {
        ini.writeString("Users", std::to_string(i), "user" + std::to_string(i));
    }
    {
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4096;
        const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool flushed = ini.flush();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedSignal);

        EXPECT_FALSE(flushed);
    }
    EXPECT_EQ(readFile(path()), old);
    EXPECT_EQ(entriesOf(dir_.path()), QStringList{"Tesk.ini"});

    ASSERT_TRUE(ini.flush());
    EXPECT_EQ(IniFile(path()).readString("Users", "4999", ""), "user4999");
}

TEST_F(IniFileTest, AFileThatCannotBeLoadedIsNeverOverwritten) {
    std::string big(static_cast<std::size_t>(IniFile::kMaxFileBytes) + 1, 'x');
    writeFile(path(), big);
    IniFile ini(path());
    EXPECT_TRUE(ini.exists());
    ini.writeInteger("S", "A", 1);
    EXPECT_FALSE(ini.flush());
    EXPECT_EQ(QFileInfo(path()).size(), IniFile::kMaxFileBytes + 1);
}

TEST_F(IniFileTest, BinaryGarbageLoadsAndRewritesStably) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string garbage(10 * 1024 * 1024, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(byte(random));
    }
    garbage += "\n[Settings]\nUser=survivor\n";
    writeFile(path(), garbage);

    IniFile ini(path());
    EXPECT_EQ(ini.readString("Settings", "User", ""), "survivor");
    ini.writeString("Settings", "Gateway", "host");
    ASSERT_TRUE(ini.flush());
    const std::string once = readFile(path());

    IniFile reread(path());
    EXPECT_EQ(reread.readString("Settings", "Gateway", ""), "host");
    EXPECT_EQ(reread.readString("Settings", "User", ""), "survivor");
    ASSERT_TRUE(reread.flush());
    EXPECT_TRUE(readFile(path()) == once) << "a second rewrite changes nothing";
}

// The bound is loose on purpose, for sanitizer builds on a busy machine: lookups that
// grow with the file would take far longer, while a normal build needs a few tenths.
TEST_F(IniFileTest, AHundredThousandUsersLoadAndSaveQuickly) {
    constexpr int kUsers = 100000;
    QElapsedTimer timer;
    timer.start();
    {
        IniFile ini(path());
        ini.writeInteger("Users", "Count", kUsers);
        for (int i = 0; i < kUsers; ++i) {
            ini.writeString("Users", std::to_string(i), "user" + std::to_string(i));
        }
        ASSERT_TRUE(ini.flush());
    }
    IniFile ini(path());
    int found = 0;
    for (int i = 0; i < ini.readInteger("Users", "Count", 0); ++i) {
        found += ini.readString("Users", std::to_string(i), "") == "user" + std::to_string(i);
    }
    ini.writeString("Users", "50000", "changed");
    ASSERT_TRUE(ini.flush());
    EXPECT_EQ(found, kUsers);
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(IniFile, AnErasedKeyTakesItsRepeatsAlongSoNoOlderValueComesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[Settings]\r\nUser=me\r\nPassword=new\r\n; note\r\n password =old\r\n"
            "Force=1\r\n[Other]\r\nPassword=kept\r\n");
    }
    IniFile ini(path);
    ini.eraseKey("settings", "PASSWORD");
    ASSERT_TRUE(ini.flush());
    const IniFile reread(path);
    EXPECT_EQ(reread.readString("Settings", "Password", "none"), "none");
    EXPECT_EQ(reread.readString("Settings", "Force", ""), "1");
    EXPECT_EQ(reread.readString("Other", "Password", ""), "kept");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              "[Settings]\r\nUser=me\r\n; note\r\nForce=1\r\n[Other]\r\nPassword=kept\r\n");
}
