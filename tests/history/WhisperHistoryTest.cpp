#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "history/HistoryFileName.h"
#include "history/WhisperHistory.h"

using namespace tesk;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

HistoryLimits limits(std::int64_t fileBytes, std::int64_t folderBytes, int tailLines,
                     std::size_t lineBytes) {
    HistoryLimits limits;
    limits.fileBytes = fileBytes;
    limits.folderBytes = folderBytes;
    limits.tailLines = tailLines;
    limits.lineBytes = lineBytes;
    return limits;
}

std::vector<std::string> numbered(int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i < to; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

}  // namespace

TEST(WhisperHistory, KeepsLinesInOrderRotatesAndReadsTheTail) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("data/tesk/history");
    // Lines of 7 or 8 bytes: a file holds 10 of them before it is rotated.
    WhisperHistory history(folder, limits(80, 1 << 20, 15, 64));
    const QString file = QDir(folder).filePath("bob.log");

    EXPECT_TRUE(history.tail("bob").empty());  // nothing yet, not even a folder
    for (const std::string& line : numbered(0, 8)) {
        ASSERT_TRUE(history.append("Bob", {line}));
    }
    EXPECT_EQ(history.tail("BOB"), numbered(0, 8));
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ReadUser |
                                                            QFile::WriteUser | QFile::ExeUser);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // Past the size the file moves to ".1"; the tail reads across both.
    for (const std::string& line : numbered(8, 20)) {
        ASSERT_TRUE(history.append("bob", {line}));
    }
    EXPECT_TRUE(QFile::exists(file + ".1"));
    EXPECT_EQ(history.tail("bob"), numbered(5, 20));
    // A second rotation replaces the first.
    for (const std::string& line : numbered(20, 35)) {
        ASSERT_TRUE(history.append("bob", {line}));
    }
    EXPECT_TRUE(contents(file + ".1").startsWith("line 21\n"));
    EXPECT_EQ(history.tail("bob"), numbered(21, 35));

    // An entry of several lines goes in one piece; a line cut short by a crash or a full
    // disk is ended before the next entry.
    QFile broken(file);
    ASSERT_TRUE(broken.open(QIODevice::Append));
    broken.write("cut sh");
    broken.close();
    ASSERT_TRUE(history.append("bob", {"a", "b"}));
    const std::vector<std::string> last = history.tail("bob");
    EXPECT_EQ(std::vector<std::string>(last.end() - 3, last.end()),
              (std::vector<std::string>{"cut sh", "a", "b"}));

    history.remove("BOB");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(file + ".1"));
    EXPECT_TRUE(history.tail("bob").empty());
}

TEST(WhisperHistory, TheFolderCapRemovesTheOldestRotatedFilesOnly) {
    QTemporaryDir dir;
    // Files of up to 100 bytes, a folder of 350.
    WhisperHistory history(dir.path(), limits(100, 350, 50, 64));
    const std::string line(19, 'x');  // 20 bytes with its line feed
    const auto fill = [&](const char* partner, int lines) {
        for (int i = 0; i < lines; ++i) {
            ASSERT_TRUE(history.append(partner, {line}));
        }
    };
    fill("ann", 6);  // ann.log.1 (100) and ann.log (20)
    QFile older(dir.filePath("ann.log.1"));
    ASSERT_TRUE(older.open(QIODevice::ReadWrite));
    older.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    older.close();
    fill("ben", 6);  // ben.log.1 and ben.log
    fill("cid", 5);  // cid.log (100): 340 in all
    EXPECT_TRUE(QFile::exists(dir.filePath("ann.log.1")));
    fill("dan", 1);  // 360: ann's older rotated file gives way
    EXPECT_FALSE(QFile::exists(dir.filePath("ann.log.1")));
    for (const char* kept : {"ann.log", "ben.log.1", "ben.log", "cid.log", "dan.log"}) {
        EXPECT_TRUE(QFile::exists(dir.filePath(kept))) << kept;
    }
    // Current files never give way, even when nothing else is left.
    fill("eve", 5);
    fill("fay", 5);
    for (const char* kept : {"ann.log", "ben.log", "cid.log", "dan.log", "eve.log", "fay.log"}) {
        EXPECT_TRUE(QFile::exists(dir.filePath(kept))) << kept;
    }
}

TEST(WhisperHistory, DamagedOrHugeFilesAreReadWithinBounds) {
    QTemporaryDir dir;
    WhisperHistory history(dir.path(), limits(1 << 20, 64 << 20, 3, 16));
    const QString file = dir.filePath("bob.log");
    {
        QFile huge(file);
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        huge.write(QByteArray(8 << 20, '\xff'));  // 8 MiB of one broken line
        huge.write("\nend\n");
    }
    // The reading starts near the end and leaves out the line it starts within.
    EXPECT_EQ(history.tail("bob"), (std::vector<std::string>{"end"}));
    {
        QFile huge(file);
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly | QIODevice::Truncate));
        huge.write(std::string(40, 'y').c_str());  // longer than a line may be
    }
    EXPECT_EQ(history.tail("bob"), (std::vector<std::string>{std::string(16, 'y')}));
    // Neither a folder nor a pipe in the file's place is read or written, nor waited for.
    QFile::remove(file);
    ASSERT_TRUE(QDir(dir.path()).mkdir("bob.log"));
    EXPECT_FALSE(history.append("bob", {"x"}));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("ann.log")).constData(), 0600), 0);
    EXPECT_TRUE(history.tail("ann").empty());
    EXPECT_FALSE(history.append("ann", {"x"}));
    // Without a folder nothing is kept.
    WhisperHistory none;
    EXPECT_FALSE(none.append("bob", {"x"}));
    EXPECT_TRUE(none.tail("bob").empty());
}

// A writer killed with SIGKILL over and over, at whatever point of a write it is, never
// takes a line that was written before with it.
TEST(WhisperHistory, KillingTheWriterNeverLosesAnEarlierLine) {
    QTemporaryDir dir;
    const QString file = dir.filePath("bob.log");
    QByteArray before;
    for (int round = 0; round < 10; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            WhisperHistory history(dir.path(),
                                   limits(std::int64_t{1} << 40, std::int64_t{1} << 40, 50, 1024));
            for (int i = 0; i < 200000; ++i) {
                history.append("bob", {"round " + std::to_string(round) + " line " +
                                       std::to_string(i) + " " + std::string(i % 50, 'z')});
            }
            ::_exit(0);
        }
        // Killed once it has written something more, at no chosen moment.
        int status = 0;
        while (QFileInfo(file).size() < before.size() + 4096 * (round + 1)) {
            ASSERT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the writer ended early";
            ::usleep(100);
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        const QByteArray now = contents(file);
        ASSERT_TRUE(now.startsWith(before)) << "round " << round;
        // Every line is whole: one write per line.
        for (const QByteArray& line : now.split('\n')) {
            if (!line.isEmpty()) {
                const QList<QByteArray> words = line.split(' ');
                ASSERT_EQ(words.size(), 5) << line.toStdString();
                EXPECT_EQ(words[4].size(), words[3].toInt() % 50) << line.toStdString();
            }
        }
        before = now;
    }
}
