// The monitor's mode switch on an emulated mouse kept in a state file: it is
// the mode buttons' sequence, it tells an open window to reload, and it never
// writes while another program holds the mouse.

#include "monitor/MonitorCore.h"

#include "emulator/EmulatorHidBackend.h"
#include "platform/desktop/DeviceSequenceLock.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/RuntimeFolder.h"
#include "profiles/ProfileManager.h"
#include "wire/MemoryMap.h"

#include "TestEnvironment.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

// Never waits; a test may act at a pause (where the window would run its loop).
class QuietHost final : public SequenceHost {
public:
    void pause(int ms) override
    {
        if (onPause)
            onPause(ms);
    }
    SendResult sendToMonitor(const WindowMessage&) override { return {SendStatus::NoWindow, 0, {}}; }
    SendResult postToMonitor(const WindowMessage&) override { return {SendStatus::NoWindow, 0, {}}; }
    std::function<void(int)> onPause;
};

class MonitorCoreTest : public ::testing::Test {
protected:
    MonitorCoreTest()
    {
        QString error;
        auto backend = EmulatorHidBackend::create(env.path("emu/mouse.state"), EmulatorFaults{}, error);
        EXPECT_TRUE(backend) << error.toStdString();
        emulator = backend.get();
        device = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
        core = std::make_unique<MonitorCore>(*device, host);
        core->setWindowNotifier([this](const WindowMessage& message) {
            toWindow.push_back(message);
            return SendResult{SendStatus::NoWindow, 0, {}};
        });
    }

    int storedMode() const { return TDM().FProfileGroupIndex(); }
    std::uint8_t selectionByte() { return emulator->mouse().state().memory.at(kActiveBankAddress); }

    // Another program holding the mouse's lock: a flock(1) child, until its
    // standard input closes.
    void holdLockElsewhere(QProcess& holder)
    {
        const QStringList keys = device->lockIdentities();
        ASSERT_EQ(keys.size(), 1);
        const QString file = runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(keys.first());
        holder.start(QStringLiteral("flock"), {QStringLiteral("-x"), file, QStringLiteral("-c"),
                                               QStringLiteral("echo held; read line")});
        ASSERT_TRUE(holder.waitForReadyRead(30000));
        ASSERT_EQ(holder.readLine().trimmed(), "held");
    }

    TestEnvironment env;
    EmulatorHidBackend* emulator = nullptr;
    QuietHost host;
    std::unique_ptr<TuiHIDData> device;
    std::unique_ptr<MonitorCore> core;
    std::vector<WindowMessage> toWindow;
};

} // namespace

TEST_F(MonitorCoreTest, ASwitchIsTheModeButtonsSequenceAndTellsTheWindowToReload)
{
    QString error;
    ASSERT_EQ(core->modes(error)->activeMode, 0) << error.toStdString();

    const ModeSwitchOutcome outcome = core->switchMode(1, 0);
    EXPECT_TRUE(outcome.switched) << outcome.refused.toStdString();
    EXPECT_EQ(selectionByte(), 1);
    EXPECT_EQ(storedMode(), 1);
    EXPECT_EQ(core->modes(error)->activeMode, 1);
    ASSERT_EQ(toWindow.size(), 1u);
    EXPECT_EQ(toWindow[0].message, UM_RELOAD_PROFILE);

    // The active mode again: nothing reaches the mouse or the window.
    const std::size_t reports = emulator->mouse().log().size();
    const ModeSwitchOutcome again = core->switchMode(1, 0);
    EXPECT_FALSE(again.switched);
    EXPECT_TRUE(again.refused.isEmpty());
    EXPECT_EQ(emulator->mouse().log().size(), reports);
    EXPECT_EQ(toWindow.size(), 1u);
}

TEST_F(MonitorCoreTest, WhileAnotherProgramHoldsTheMouseTheSwitchIsRefusedAndSendsNothing)
{
    QProcess holder;
    holdLockElsewhere(holder);
    const std::size_t reports = emulator->mouse().log().size();

    const ModeSwitchOutcome refused = core->switchMode(1, 0);
    EXPECT_FALSE(refused.switched);
    EXPECT_TRUE(refused.refused.contains(QLatin1String("in use"))) << refused.refused.toStdString();
    EXPECT_EQ(emulator->mouse().log().size(), reports) << "no report may go between another program's";
    EXPECT_EQ(storedMode(), 0);
    EXPECT_TRUE(toWindow.empty());

    // The holder lets go: the same switch goes through.
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(30000));
    const ModeSwitchOutcome made = core->switchMode(1, 0);
    EXPECT_TRUE(made.switched) << made.refused.toStdString();
    EXPECT_EQ(selectionByte(), 1);
}

TEST_F(MonitorCoreTest, ASwitchWaitsForTheHolderWithinItsBound)
{
    QProcess holder;
    holdLockElsewhere(holder);
    // The wait is where the holder ends: the first pause of the lock's retry
    // loop lets it go, so the switch that was waiting is made afterwards.
    bool released = false;
    host.onPause = [&](int) {
        if (released)
            return;
        released = true;
        holder.closeWriteChannel();
        holder.waitForFinished(30000);
    };
    const ModeSwitchOutcome made = core->switchMode(1, 60000);
    EXPECT_TRUE(released);
    EXPECT_TRUE(made.switched) << made.refused.toStdString();
    EXPECT_EQ(selectionByte(), 1);
}
