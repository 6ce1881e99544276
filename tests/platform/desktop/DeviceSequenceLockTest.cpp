// The one-writer lock of a mouse. Another program's hold is played by a
// second open file description with its own flock, which the kernel treats
// as a separate holder even within this process.

#include "platform/desktop/DeviceSequenceLock.h"
#include "platform/desktop/RuntimeFolder.h"

#include "TestEnvironment.h"

#include <QFile>

#include <chrono>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using k4812::DeviceSequenceLock;
using k4812::test::readFile;
using k4812::test::TestEnvironment;

namespace {

// Another program holding `key`, with "PID PROGRAM" in the lock file.
class ForeignHolder {
public:
    ForeignHolder(const QString& key, const QByteArray& line)
    {
        const QString path = k4812::runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(key);
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        m_held = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
        if (m_held && (::ftruncate(m_fd, 0) != 0 || ::pwrite(m_fd, line.constData(), std::size_t(line.size()), 0) < 0))
            m_held = false;
    }
    ~ForeignHolder() { release(); }
    bool held() const { return m_held; }
    void release()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    bool m_held = false;
};

// Whether another program could take `key` now.
bool freeForOthers(const QString& key)
{
    ForeignHolder probe(key, "1 probe\n");
    return probe.held();
}

const QString kMouseA = QStringLiteral("emulator:/tmp/a.state");
const QString kMouseB = QStringLiteral("hidraw:/sys/devices/x/0003:1234:5678.0001");

} // namespace

TEST(DeviceSequenceLock, HoldsTheMouseAgainstOtherProgramsUntilReleasedAndSaysWhoHoldsIt)
{
    TestEnvironment env;
    DeviceSequenceLock lock({kMouseA});
    ASSERT_TRUE(lock.acquire(0, {})) << lock.errorString().toStdString();
    EXPECT_FALSE(freeForOthers(kMouseA));
    const QByteArray written =
        readFile(k4812::runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(kMouseA));
    EXPECT_EQ(written, QByteArray::number(qint64(::getpid())) + ' ' + program_invocation_short_name + '\n');
    lock.release();
    EXPECT_TRUE(freeForOthers(kMouseA));
}

TEST(DeviceSequenceLock, GivesUpAfterTheWaitBoundNamingTheHolder)
{
    TestEnvironment env;
    ForeignHolder other(kMouseA, "4242 k4812ctl\n");
    ASSERT_TRUE(other.held());
    DeviceSequenceLock lock({kMouseA});
    int waits = 0;
    EXPECT_FALSE(lock.acquire(0, [&](int) { ++waits; }));
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(lock.errorString().toStdString(),
              "the mouse is in use by k4812ctl (process 4242); try again when it has finished");
    EXPECT_FALSE(lock.isHeld());
}

// The holder's line is written over the last holder's: whatever is left of a
// longer one goes, a shorter one is not padded, and what a waiting program
// reads is the first line alone, even between the write and the cut.
TEST(DeviceSequenceLock, TheHoldersLineReplacesTheLastOneWhateverItsLength)
{
    TestEnvironment env;
    const QString file = k4812::runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(kMouseA);
    const QByteArray mine = QByteArray::number(qint64(::getpid())) + ' ' + program_invocation_short_name + '\n';
    for (const QByteArray& last : {QByteArray("123456789012 a-program-with-a-long-name\n"), QByteArray("1 x\n"),
                                   QByteArray()}) {
        {
            ForeignHolder former(kMouseA, last);
            ASSERT_TRUE(former.held());
        }
        DeviceSequenceLock lock({kMouseA});
        ASSERT_TRUE(lock.acquire(0, {})) << lock.errorString().toStdString();
        EXPECT_EQ(readFile(file), mine) << last.toStdString();
    }

    ForeignHolder midWrite(kMouseB, "4242 k4812ctl\nfig\n");
    ASSERT_TRUE(midWrite.held());
    DeviceSequenceLock lock({kMouseB});
    EXPECT_FALSE(lock.acquire(0, {}));
    EXPECT_EQ(lock.errorString().toStdString(),
              "the mouse is in use by k4812ctl (process 4242); try again when it has finished");
}

TEST(DeviceSequenceLock, WaitsThroughTheCallerUntilTheOtherProgramIsDone)
{
    TestEnvironment env;
    ForeignHolder other(kMouseA, "4242 k4812-config\n");
    DeviceSequenceLock lock({kMouseA});
    int waits = 0;
    const bool taken = lock.acquire(600000, [&](int ms) {
        EXPECT_LE(ms, DeviceSequenceLock::kRetryMs);
        if (++waits == 3)
            other.release();
    });
    EXPECT_TRUE(taken) << lock.errorString().toStdString();
    EXPECT_EQ(waits, 3);
}

TEST(DeviceSequenceLock, TakesEveryMouseOrNone)
{
    TestEnvironment env;
    ForeignHolder other(kMouseB, "4242 REvo2\n");
    DeviceSequenceLock lock({kMouseB, kMouseA});
    EXPECT_FALSE(lock.acquire(0, {}));
    EXPECT_TRUE(lock.errorString().contains(QLatin1String("REvo2 (process 4242)")));
    // The mouse it could have had is not kept while it gives up.
    EXPECT_TRUE(freeForOthers(kMouseA));
}

TEST(DeviceSequenceLock, NestedHoldersInOneProcessShareTheLock)
{
    TestEnvironment env;
    DeviceSequenceLock verb({kMouseA});
    ASSERT_TRUE(verb.acquire(0, {}));
    {
        DeviceSequenceLock sequence({kMouseA, kMouseA});
        ASSERT_TRUE(sequence.acquire(0, {})) << sequence.errorString().toStdString();
    }
    EXPECT_FALSE(freeForOthers(kMouseA)) << "the inner holder freed the outer one's mouse";
    verb.release();
    EXPECT_TRUE(freeForOthers(kMouseA));
}

// The monotonic clock's nanoseconds `ms` from now, as a lock file holds them.
QByteArray quietLine(int ms)
{
    const auto until = DeviceSequenceLock::Clock::now() + std::chrono::milliseconds(ms);
    return "quiet-until " + QByteArray::number(qint64(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(until.time_since_epoch()).count())) +
           '\n';
}

TEST(DeviceSequenceLock, TheQuietTimeLeftGoesToTheNextHolderInThisProcessOrAnother)
{
    TestEnvironment env;
    const QString file = k4812::runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(kMouseA);
    {
        DeviceSequenceLock first({kMouseA});
        ASSERT_TRUE(first.acquire(0, {}));
        EXPECT_EQ(first.quietLeftMs(), 0) << "a new lock file leaves no quiet time";
        first.leaveQuietUntil(DeviceSequenceLock::Clock::now() + std::chrono::milliseconds(300));
        first.leaveQuietUntil(DeviceSequenceLock::Clock::now() + std::chrono::milliseconds(10));
    }
    const QByteArray written = readFile(file);
    EXPECT_TRUE(written.startsWith(QByteArray::number(qint64(::getpid())) + ' ')) << written.toStdString();
    EXPECT_TRUE(written.contains("\nquiet-until ")) << written.toStdString();

    DeviceSequenceLock next({kMouseB, kMouseA});
    ASSERT_TRUE(next.acquire(0, {}));
    EXPECT_GT(next.quietLeftMs(), 10) << "the later end of the two is kept";
    EXPECT_LE(next.quietLeftMs(), 300);
    EXPECT_FALSE(readFile(file).contains("quiet-until")) << "the holder's line replaces it while held";
    {
        // A nested holder in this process sees it too, and what it leaves.
        DeviceSequenceLock inner({kMouseA});
        ASSERT_TRUE(inner.acquire(0, {}));
        EXPECT_GT(inner.quietLeftMs(), 10);
    }
    next.release();

    // Another program's quiet time, left in its lock file.
    {
        ForeignHolder other(kMouseB, "4242 REvo2\n" + quietLine(200));
        ASSERT_TRUE(other.held());
    }
    DeviceSequenceLock after({kMouseB});
    ASSERT_TRUE(after.acquire(0, {}));
    EXPECT_GT(after.quietLeftMs(), 100);
    EXPECT_LE(after.quietLeftMs(), 200);
}

TEST(DeviceSequenceLock, AQuietTimeTheFileCannotMeanIsBoundedOrIgnored)
{
    TestEnvironment env;
    const struct {
        QByteArray contents;
        int least;
        int most;
    } cases[] = {
        {"4242 REvo2\n" + quietLine(-100), 0, 0},                  // over already
        {"4242 REvo2\n" + quietLine(3600 * 1000), DeviceSequenceLock::kLongestQuietMs,
         DeviceSequenceLock::kLongestQuietMs},                      // an hour: bounded
        {"4242 REvo2\nquiet-until 99999999999999999999999\n", 0, 0}, // past 64 bits
        {"4242 REvo2\nquiet-until -5\n", 0, 0},
        {"4242 REvo2\nquiet-until soon\n", 0, 0},
        {"4242 REvo2\n" + quietLine(500).chopped(1), 0, 0},       // cut short: no line end
        {quietLine(500), 0, 0},                                     // not after a holder's line
        {QByteArray(300, 'x') + '\n' + quietLine(500), 0, 0},     // beyond what is read
    };
    for (const auto& c : cases) {
        {
            ForeignHolder other(kMouseA, c.contents);
            ASSERT_TRUE(other.held());
        }
        DeviceSequenceLock lock({kMouseA});
        ASSERT_TRUE(lock.acquire(0, {}));
        EXPECT_GE(lock.quietLeftMs(), c.least) << c.contents.toStdString();
        EXPECT_LE(lock.quietLeftMs(), c.most) << c.contents.toStdString();
    }
}

TEST(DeviceSequenceLock, NoKeysNeedNoLock)
{
    DeviceSequenceLock lock({});
    EXPECT_TRUE(lock.acquire(0, {}));
}

TEST(DeviceSequenceLock, WaitBoundComesFromTheEnvironmentWhenValid)
{
    TestEnvironment env;
    const struct {
        const char* value;
        int expected;
    } cases[] = {{"", DeviceSequenceLock::kDefaultWaitMs},
                 {"0", 0},
                 {"30000", 30000},
                 {"-5", DeviceSequenceLock::kDefaultWaitMs},
                 {"soon", DeviceSequenceLock::kDefaultWaitMs},
                 {"600001", DeviceSequenceLock::kDefaultWaitMs}};
    for (const auto& c : cases) {
        env.set("K4812_DEVICE_WAIT_MS", QString::fromLatin1(c.value));
        EXPECT_EQ(DeviceSequenceLock::waitLimitMs(), c.expected) << c.value;
    }
}
