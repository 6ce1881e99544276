#include "platform/desktop/SingleInstanceLock.h"

#include "TestEnvironment.h"

#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace k4812;
using k4812::test::TestEnvironment;

TEST(SingleInstanceLock, SecondCopyIsRefusedUntilTheFirstEnds)
{
    TestEnvironment env;
    auto first = std::make_unique<SingleInstanceLock>();
    ASSERT_TRUE(first->tryAcquire()) << first->errorString().toStdString();
    EXPECT_EQ(first->lockFilePath(), env.path(QStringLiteral("runtime/k4812/TK4812CfgMain.lock")));

    SingleInstanceLock second;
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(second.anotherInstance());
    EXPECT_FALSE(second.isHeld());

    first.reset();
    EXPECT_FALSE(QFile::exists(env.path(QStringLiteral("runtime/k4812/TK4812CfgMain.lock"))));
    EXPECT_TRUE(second.tryAcquire());
    EXPECT_FALSE(second.anotherInstance());
}

TEST(SingleInstanceLock, LockOfAProcessThatDiedIsTakenOver)
{
    TestEnvironment env;
    QString path;
    {
        SingleInstanceLock probe; // only to learn the path and make the folder
        ASSERT_TRUE(probe.tryAcquire());
        path = probe.lockFilePath();
    }
    ASSERT_FALSE(QFile::exists(path));

    // A child takes the lock and ends without releasing it, as a crash would.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(path);
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(path));

    SingleInstanceLock lock;
    EXPECT_TRUE(lock.tryAcquire()) << lock.errorString().toStdString();
    EXPECT_TRUE(lock.isHeld());
}

TEST(SingleInstanceLock, NameMustBeUsableAsAFileName)
{
    TestEnvironment env;
    SingleInstanceLock lock(QStringLiteral("../elsewhere"));
    EXPECT_FALSE(lock.tryAcquire());
    EXPECT_FALSE(lock.anotherInstance());
    EXPECT_FALSE(lock.errorString().isEmpty());
}
