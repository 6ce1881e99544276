// The window shares the mouse with the other programs: its device sequences
// wait for another program's (with the event loop running) and give up after
// the wait bound, naming that program and sending nothing.

#include "MainWindowFixture.h"

#include "platform/desktop/DeviceSequenceLock.h"
#include "platform/desktop/RuntimeFolder.h"

#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace k4812::test {
namespace {

class MainWindowDeviceLock : public MainWindowFixture {
protected:
    MainWindowDeviceLock()
    {
        // A mouse other programs can reach: the emulator's state file.
        QString error;
        auto backend = EmulatorHidBackend::create(env.path("mouse.state"), EmulatorFaults{}, error);
        EXPECT_TRUE(backend) << error.toStdString();
        emulator = backend.get();
        hid = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
    }
    ~MainWindowDeviceLock() override { letGo(); }

    // Another program (k4812ctl, process 4242) takes the mouse.
    void otherProgramHoldsTheMouse()
    {
        const QStringList keys = hid->lockIdentities();
        ASSERT_EQ(keys.size(), 1);
        const QString path = runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(keys.first());
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(m_fd, 0);
        ASSERT_EQ(::flock(m_fd, LOCK_EX | LOCK_NB), 0);
        const QByteArray line = "4242 k4812ctl\n";
        ASSERT_EQ(::pwrite(m_fd, line.constData(), std::size_t(line.size()), 0), line.size());
    }
    void letGo()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

TEST_F(MainWindowDeviceLock, ApplyWaitsWithTheWindowAliveUntilTheOtherProgramIsDone)
{
    TK4812CfgMain& w = open();
    ASSERT_TRUE(started);
    otherProgramHoldsTheMouse();
    env.set("K4812_DEVICE_WAIT_MS", QStringLiteral("600000"));
    waits.clear();
    int lockWaits = 0;
    duringWait = [&] {
        if (reportsSent() == 0 && ++lockWaits == 3) {
            EXPECT_FALSE(control("BSBTNPROFILE2")->isEnabled()) << "no second sequence starts meanwhile";
            letGo();
        }
    };
    const std::size_t before = reportsSent();
    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
    EXPECT_EQ(lockWaits, 3);
    EXPECT_GT(reportsSent(), before);
    EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join('\n').toStdString();
    (void)w;
}

TEST_F(MainWindowDeviceLock, SequencesGiveUpNamingTheHolderAndSendNothing)
{
    open();
    ASSERT_TRUE(started);
    otherProgramHoldsTheMouse();
    env.set("K4812_DEVICE_WAIT_MS", QStringLiteral("0"));
    const std::size_t before = reportsSent();
    const int profile = dm->FProfileIndex();
    const int mode = dm->FProfileGroupIndex();
    const QString expected = QStringLiteral("Warning|The mouse is in use by k4812ctl (process 4242); try again when it "
                                            "has finished|");
    for (const char* name : {"BSBTNAPPLY", "BSBTNPROFILE2", "BSBTNMODE2"}) {
        dialogs.clear();
        answers.push_back(1);
        QTest::mouseClick(control(name), Qt::LeftButton);
        EXPECT_EQ(dialogs, QStringList{expected}) << name;
        EXPECT_EQ(reportsSent(), before) << name << " reached a mouse another program holds";
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
    EXPECT_EQ(dm->FProfileIndex(), profile) << "a button changed the profile without the mouse";
    EXPECT_EQ(dm->FProfileGroupIndex(), mode);
    EXPECT_TRUE(control("BSBTNMODE1")->isChecked()) << "the mode buttons show the mode in force";
    EXPECT_FALSE(control("BSBTNMODE2")->isChecked());
}

} // namespace
} // namespace k4812::test
