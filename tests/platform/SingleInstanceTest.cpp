#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "support/EventLoop.h"

using tesk::SingleInstance;

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    ASSERT_TRUE(first->acquire());
    SingleInstance second(dir.path());
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
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
    EXPECT_TRUE(next.acquire());
}

TEST(TerminationSignals, SigtermBecomesAQtSignal) {
    tesk::TerminationSignals termination;
    bool requested = false;
    QObject::connect(&termination, &tesk::TerminationSignals::terminationRequested,
                     [&] { requested = true; });
    ::raise(SIGTERM);
    EXPECT_TRUE(tesk::test::waitUntil([&] { return requested; }, 2000));
}
