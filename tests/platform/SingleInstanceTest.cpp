#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>

#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "support/EventLoop.h"

using tesk::SingleInstance;

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    ASSERT_EQ(first->acquire(), SingleInstance::Result::Acquired);
    SingleInstance second(dir.path());
    EXPECT_EQ(second.acquire(), SingleInstance::Result::AlreadyRunning);
    first.reset();
    EXPECT_EQ(second.acquire(), SingleInstance::Result::Acquired);
}

TEST(SingleInstance, LockOfACrashedCopyDoesNotBlockTheNextStart) {
    QTemporaryDir dir;
    // A lock file naming a process that no longer exists, as a crash leaves it.
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    {
        QLockFile stale(dir.filePath("TESK.lock"));
        ASSERT_TRUE(stale.tryLock(0));
        stale.unlock();
    }
    QFile file(dir.filePath("TESK.lock"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(gone) + "\ntesk\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    file.close();
    SingleInstance next(dir.path());
    EXPECT_EQ(next.acquire(), SingleInstance::Result::Acquired);
}

// The folder is the user's own: made private when missing, refused when others may write
// to it; a lock that cannot be made is a failure, not another copy.
TEST(SingleInstance, TheLockFolderIsPrivateToItsUser) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("tesk-1000");
    ASSERT_EQ(SingleInstance(missing).acquire(), SingleInstance::Result::Acquired);
    EXPECT_EQ(QFileInfo(missing).permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);

    const QString shared = dir.filePath("shared");
    ASSERT_TRUE(QDir().mkdir(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0777), 0);
    SingleInstance open(shared);
    EXPECT_EQ(open.acquire(), SingleInstance::Result::Failed);
    EXPECT_TRUE(open.errorMessage().contains("others may write"))
        << open.errorMessage().toStdString();

    const QString file = dir.filePath("not-a-folder");
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_EQ(SingleInstance(file + "/below").acquire(), SingleInstance::Result::Failed);

    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", QFile::encodeName(dir.path()).constData(), 1);
    EXPECT_EQ(SingleInstance::defaultDirectory(), dir.filePath(QString("tesk-%1").arg(::getuid())));
}

TEST(TerminationSignals, SigtermBecomesAQtSignal) {
    tesk::TerminationSignals termination;
    bool requested = false;
    QObject::connect(&termination, &tesk::TerminationSignals::terminationRequested,
                     [&] { requested = true; });
    ::raise(SIGTERM);
    EXPECT_TRUE(tesk::test::waitUntil([&] { return requested; }, 2000));
}
