// The emulated mouse during a device sequence: its state file is read at the
// sequence's beginning and written once, at its end, both through the
// program's store runner (the window's storage thread), before the mouse is
// let go.

#include "emulator/EmulatorHidBackend.h"
#include "emulator/EmulatorStateFile.h"
#include "sequences/DeviceLocking.h"
#include "sequences/SequenceHost.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"

#include "TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::TestEnvironment;

namespace {

// Runs stores at once, counting them and what the state file held just
// before and after each.
class RecordingHost final : public SequenceHost {
public:
    explicit RecordingHost(QString stateFile) : m_stateFile(std::move(stateFile)) {}
    void pause(int ms) override { pauses << ms; }
    void runStorage(const std::function<void()>& store) override
    {
        before << readFile(m_stateFile);
        store();
        after << readFile(m_stateFile);
    }
    QList<QByteArray> before;
    QList<QByteArray> after;
    QList<int> pauses;

private:
    QString m_stateFile;
};

std::uint8_t storedByte(const QString& stateFile, std::uint16_t address)
{
    QString error;
    const std::optional<EmulatorState> state = loadEmulatorState(stateFile, error);
    EXPECT_TRUE(state) << error.toStdString();
    return state ? state->memory[address] : 0;
}

struct Fixture {
    TestEnvironment env;
    QString stateFile = env.path("emu/mouse.state");
    std::unique_ptr<TuiHIDData> hid;

    Fixture()
    {
        hid = newLink();
        // A mouse that has been used: its file exists.
        const std::uint8_t rate = 1;
        EXPECT_EQ(WriteDeviceMemory(*hid, kReportRateAddress, &rate, 1), 0);
    }

    // A link of its own to the emulated mouse, as another program has.
    std::unique_ptr<TuiHIDData> newLink() const
    {
        QString error;
        auto backend = EmulatorHidBackend::create(stateFile, EmulatorFaults{}, error);
        EXPECT_TRUE(backend) << error.toStdString();
        return std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
    }
};

} // namespace

TEST(EmulatorSequence, TheStateFileIsReadAtTheBeginningAndWrittenOnceAtTheEndThroughTheStoreRunner)
{
    Fixture f;
    const QByteArray old = readFile(f.stateFile);
    RecordingHost host(f.stateFile);
    QString error;
    auto held = LockDeviceForSequence(*f.hid, host, error);
    ASSERT_TRUE(held) << error.toStdString();
    EXPECT_EQ(host.before.size(), 1) << "the beginning runs through the store runner";
    // Read there: a file damaged afterwards (by no program that keeps the
    // lock rule) does not reach the sequence.
    ASSERT_TRUE(test::writeFile(f.stateFile, old.left(100)));

    const std::uint8_t rate = 4;
    ASSERT_EQ(SendUpdateMark(*f.hid, kUpdateMarkBegin), 0);
    ASSERT_EQ(WriteDeviceMemory(*f.hid, kReportRateAddress, &rate, 1), 0);
    ASSERT_EQ(SendUpdateMark(*f.hid, kUpdateMarkEnd), 0);
    // The sequence reads what it wrote, from memory.
    std::uint8_t read = 0;
    ASSERT_EQ(ReadDeviceMemory(*f.hid, kReportRateAddress, &read, 1), 0);
    EXPECT_EQ(read, rate);
    // Nothing reached the file yet, not even at the end mark, and no
    // temporary file is left.
    EXPECT_EQ(readFile(f.stateFile), old.left(100));
    EXPECT_EQ(QDir(f.env.path("emu")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"mouse.state", "mouse.state.lock"}));
    EXPECT_EQ(host.before.size(), 1);

    EXPECT_EQ(held->end(), QString());
    // One store, and the file changed inside it.
    ASSERT_EQ(host.before.size(), 2);
    EXPECT_EQ(host.before.back(), old.left(100));
    EXPECT_EQ(host.after.back(), readFile(f.stateFile));
    EXPECT_EQ(storedByte(f.stateFile, kReportRateAddress), rate);
    held.reset();
    EXPECT_EQ(host.before.size(), 2) << "the end stores once";

    // After the sequence, exchanges reach the file at once again.
    const std::uint8_t slower = 2;
    ASSERT_EQ(WriteDeviceMemory(*f.hid, kReportRateAddress, &slower, 1), 0);
    EXPECT_EQ(storedByte(f.stateFile, kReportRateAddress), slower);
}

TEST(EmulatorSequence, AStateThatCannotBeStoredAtTheEndIsReported)
{
    Fixture f;
    RecordingHost host(f.stateFile);
    QString error;
    auto held = LockDeviceForSequence(*f.hid, host, error);
    ASSERT_TRUE(held) << error.toStdString();
    const std::uint8_t rate = 4;
    ASSERT_EQ(WriteDeviceMemory(*f.hid, kReportRateAddress, &rate, 1), 0);
    // The folder goes away during the sequence.
    ASSERT_TRUE(QDir(f.env.path("emu")).removeRecursively());
    const QString problem = held->end();
    EXPECT_TRUE(problem.contains(f.stateFile)) << problem.toStdString();
}

TEST(EmulatorSequence, TheQuietTimeASequenceLeavesIsWaitedByTheNextOneThroughItsHost)
{
    Fixture f;
    RecordingHost host(f.stateFile);
    QString error;
    auto held = LockDeviceForSequence(*f.hid, host, error);
    ASSERT_TRUE(held) << error.toStdString();
    EXPECT_TRUE(host.pauses.isEmpty()) << "nothing was left to wait for";
    f.hid->leaveQuietFor(400);
    EXPECT_EQ(held->end(), QString());
    held.reset();

    // Another program's link to the same mouse.
    const std::unique_ptr<TuiHIDData> link = f.newLink();
    RecordingHost next(f.stateFile);
    auto again = LockDeviceForSequence(*link, next, error);
    ASSERT_TRUE(again) << error.toStdString();
    ASSERT_EQ(next.pauses.size(), 1);
    EXPECT_GT(next.pauses.front(), 0);
    EXPECT_LE(next.pauses.front(), 400);
}
