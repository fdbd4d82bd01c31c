#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>

#include "GatewaySim.h"
#include "settings/IniFile.h"
#include "support/EventLoop.h"
#include "watch/WatchListFile.h"

using tesk::test::waitUntil;

namespace {

// The real program, without windows, against the simulator on its own loopback address
// (the gateway port is fixed, so each test takes another 127.x address).
class HeadlessRun : public ::testing::Test {
protected:
    void start(const char* address, const QByteArray& settings, bool headless = true) {
        gatewaysim::Options options;
        options.address = QHostAddress(address);
        options.accounts.insert("tesk", "secret");
        sim = std::make_unique<gatewaysim::SimThread>(options);
        if (!sim->start()) {
            GTEST_SKIP() << address << ":6112 is not free: " << sim->errorString().toStdString();
        }
        iniPath = dir.filePath("Tesk.ini");
        QFile ini(iniPath);
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings]\r\nGateway=" + QByteArray(address) + "\r\n" + settings);
        ini.close();
        program.setProcessEnvironment([this] {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("XDG_RUNTIME_DIR", dir.path());
            env.insert("XDG_STATE_HOME", dir.filePath("state"));
            env.insert("XDG_DATA_HOME", dir.filePath("data"));
            env.insert("QT_QPA_PLATFORM", "offscreen");
            env.insert("TZ", "UTC");  // stored times are printed in local time
            return env;
        }());
        launch(headless);
    }

    void launch(bool headless = true) {
        output.clear();
        QStringList arguments{"--config", iniPath};
        if (headless) {
            arguments.prepend("--headless");
        }
        program.start(TESK_BINARY, arguments);
        ASSERT_TRUE(program.waitForStarted());
    }

    QString recoveryPath() const { return dir.filePath("state/tesk/Tesk.ini.recovered"); }

    QByteArray iniBytes() const {
        QFile file(iniPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Output lines without their "hh:mm " time stamps.
    QStringList lines() {
        output += program.readAllStandardOutput();
        QStringList result;
        for (const QString& line : QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts)) {
            result << line.mid(6);
        }
        return result;
    }

    bool waitForLine(const QString& line, int timeoutMs = 15000) {
        return waitUntil([&] { return lines().contains(line); }, timeoutMs);
    }

    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    QTemporaryDir dir;
    QString iniPath;
    std::unique_ptr<gatewaysim::SimThread> sim;
    QProcess program;
    QByteArray output;
};

}  // namespace

TEST_F(HeadlessRun, PrintsEveryChangeAndSavesTheWatchListOnSigterm) {
    start("127.0.0.7",
          "Anonymous=0\r\nUser=tesk\r\nPassword=\xdb\xe0\xa8\xe6\xd6\xe6\r\n"
          "[Users]\r\nCount=3\r\n0=carol\r\n1=alice\r\n2=bob\r\n"
          "[LastSeen]\r\nCount=1\r\n0=carol\t\t2024-01-02T11:00:00+01:00\r\n");
    if (!sim) {
        return;
    }
    sim->setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    sim->setAway("alice", "lunch");
    ASSERT_TRUE(waitForLine("carol offline, last seen 2024-01-02 10:00"))
        << lines().join('\n').toStdString();
    EXPECT_EQ(
        lines().mid(0, 5),
        (QStringList{"status: Connecting...", "status: Online",
                     "alice away, channel: Foo, program: Starcraft, away: lunch",
                     "bob offline, never seen", "carol offline, last seen 2024-01-02 10:00"}));

    sim->whisperToAll("bob", "hello");
    EXPECT_TRUE(waitForLine("whisper from bob: hello"));
    // Nothing received can drive the terminal: line breaks, NUL, ESC and a bidi override
    // arrive as escapes, on one line.
    sim->sendRawToAll(
        QByteArray("1004 WHISPER bob 0000 \"a\nb\rc\0d\x1b[2J\xe2\x80\xaeZ\"\r\n", 41));
    EXPECT_TRUE(waitForLine("whisper from bob: a\\nb\\rc\\x00d\\x1B[2J\\u202EZ"))
        << lines().join('\n').toStdString();

    ::kill(program.processId(), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    // What the gateway received: a named login, the channel, then the polls in list order.
    const QList<QByteArray> received = sim->receivedLines();
    ASSERT_GE(received.size(), 7);
    EXPECT_EQ(received.mid(0, 3), (QList<QByteArray>{"c", "tesk", "secret"}));
    EXPECT_TRUE(received[3].startsWith("/join public chat tesk"));
    EXPECT_EQ(received.mid(4, 3),
              (QList<QByteArray>{"/whois alice", "/whois bob", "/whois carol"}));
    EXPECT_EQ(tesk::readWatchedNames(tesk::IniFile(iniPath)),
              (std::vector<std::string>{"alice", "bob", "carol"}));
    const std::vector<tesk::NamedSightings> seen = tesk::readLastSeen(tesk::IniFile(iniPath));
    ASSERT_EQ(seen.size(), 2u);  // bob, offline and never seen online, needs no entry
    EXPECT_EQ(seen[0].name, "alice");
    EXPECT_TRUE(seen[0].seen.onlineSince.isValid());
}

TEST_F(HeadlessRun, RefusedLoginIsPrintedInsteadOfABox) {
    start("127.0.0.8", "Anonymous=0\r\nUser=tesk\r\nPassword=\r\n");
    if (!sim) {
        return;
    }
    EXPECT_TRUE(waitUntil([&] {
        return lines().filter(QRegularExpression("^error: Login or password incorrect!")).size() == 1;
    }, 8000)) << lines().join('\n').toStdString();
    ::kill(program.processId(), SIGINT);
    EXPECT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitCode(), 0);
}

// A signal always ends the program, also when Tesk.ini cannot be written: the old file
// stays, the error goes to stderr and the watch list to the recovery copy, which the next
// start names until a save succeeds. SIGHUP saves like SIGTERM.
TEST_F(HeadlessRun, SignalsEndTheProgramEvenWhenTeskIniCannotBeWritten) {
    start("127.0.0.10", "[Users]\r\nCount=2\r\n0=alice\r\n1=bob\r\n", false);
    if (!sim) {
        return;
    }
    ASSERT_TRUE(waitUntil([&] { return sim->receivedLines().size() >= 3; }, 8000));
    const QByteArray before = iniBytes();
    ASSERT_TRUE(QFile::setPermissions(iniPath, QFile::ReadOwner));
    ::kill(program.processId(), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5000)) << "the window ignored SIGTERM";
    EXPECT_TRUE(program.readAllStandardError().contains("Unable to write to"));
    EXPECT_EQ(iniBytes(), before);
    EXPECT_EQ(tesk::readWatchedNames(tesk::IniFile(recoveryPath())),
              (std::vector<std::string>{"alice", "bob"}));

    // Headless: the next start names the copy; SIGHUP saves and retires it.
    ASSERT_TRUE(QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::WriteOwner));
    launch();
    ASSERT_TRUE(waitForLine("status: Online"));
    ::kill(program.processId(), SIGHUP);
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(
        program.readAllStandardError().contains("It was kept in " + recoveryPath().toUtf8()));
    EXPECT_FALSE(QFile::exists(recoveryPath()));
    EXPECT_TRUE(QFile::exists(recoveryPath() + ".old"));  // only after a successful save
}
