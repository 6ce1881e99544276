// The device sequences store through their host (the window runs the stores
// on its storage thread): every store that a write depends on comes before
// that write, and a store that fails where the host runs it stops the
// sequence before anything reaches the mouse.

#include "sequences/ApplySequence.h"
#include "sequences/ProfileSwitch.h"
#include "platform/desktop/TuiThread.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"
#include "platform/storage/StorageError.h"
#include "profiles/SystemMouseParams.h"

#include "EmulatedMouse.h"
#include "RecordingHost.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>

using namespace k4812;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingHost;

namespace {

class SequenceStoresTest : public ::testing::Test {
protected:
    SequenceStoresTest()
        : host([this] { return emulated.logSize(); }, env.path("journal.txt")), dm(std::make_unique<TDM>())
    {
        state.SettingsChanged = true;
        state.SystemMouseParams = SystemMouseParamsOf(dm->FCurrentProfileInfo());
    }
    ~SequenceStoresTest() override { TuiThread::waitForAll(); }

    test::TestEnvironment env;
    EmulatedMouse emulated;
    RecordingHost host;
    std::unique_ptr<TDM> dm;
    MainWindowState state;
};

struct SequenceCase {
    const char* name;
    std::function<bool(TDM&, TuiHIDData&, MainWindowState&, SequenceHost&)> run;
};

const SequenceCase kSequences[] = {
    {"Apply", [](TDM& dm, TuiHIDData& hid, MainWindowState& state,
                 SequenceHost& host) { return ApplySettings(dm, hid, state, host); }},
    {"ProfileButton", [](TDM& dm, TuiHIDData& hid, MainWindowState& state,
                         SequenceHost& host) { return SwitchProfile(dm, hid, state, host, 3); }},
    {"ModeButton", [](TDM& dm, TuiHIDData& hid, MainWindowState& state,
                      SequenceHost& host) { return SwitchMode(dm, hid, state, host, 1); }},
};

} // namespace

TEST_F(SequenceStoresTest, EachSequenceStoresThroughItsHostBeforeItsFirstReport)
{
    for (const SequenceCase& c : kSequences) {
        SCOPED_TRACE(c.name);
        EmulatedMouse mouse;
        RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));
        EXPECT_TRUE(c.run(*dm, *mouse.hid, state, recorder));
        ASSERT_FALSE(recorder.stores.empty());
        EXPECT_EQ(recorder.stores.front(), 0u) << "a report went out before the store";
        EXPECT_GT(mouse.logSize(), 0u);
    }
}

TEST_F(SequenceStoresTest, AFailedStoreStopsTheSequenceBeforeAnythingIsSent)
{
    for (const SequenceCase& c : kSequences) {
        SCOPED_TRACE(c.name);
        EmulatedMouse mouse;
        RecordingHost recorder([&mouse] { return mouse.logSize(); }, env.path("journal.txt"));
        recorder.failStores = QStringLiteral("The disk is full.");
        const int profile = dm->FProfileIndex();
        const int mode = dm->FProfileGroupIndex();
        try {
            c.run(*dm, *mouse.hid, state, recorder);
            ADD_FAILURE() << "the failed store was not reported";
        } catch (const StorageError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("The disk is full."));
        }
        EXPECT_EQ(mouse.logSize(), 0u) << "nothing reaches the mouse";
        EXPECT_EQ(dm->FProfileIndex(), profile);
        EXPECT_EQ(dm->FProfileGroupIndex(), mode);
        EXPECT_TRUE(state.SettingsChanged);
        EXPECT_EQ(recorder.profileChanges, 0);
    }
}

// "ProfileID" is stored while the mouse's group is open: its failure is
// reported after the group, which still ends with its update mark.
TEST_F(SequenceStoresTest, AProfileIdStoreThatFailsStillClosesTheMousesGroup)
{
    host.failStores = QStringLiteral("The disk is full.");
    host.storesBeforeFailure = 1;
    SwitchReport report;
    EXPECT_FALSE(SwitchProfile(*dm, *emulated.hid, state, host, 2, &report));
    ASSERT_EQ(host.stores.size(), 2u);
    EXPECT_EQ(host.stores[0], 0u);
    EXPECT_EQ(host.stores[1], 3u) << "after the update mark, the selection and the activation";
    EXPECT_EQ(report.profileIdError, QStringLiteral("The disk is full."));
    EXPECT_EQ(report.commandsSent, 4);
    EXPECT_EQ(emulated.logSize(), 4u);
    EXPECT_EQ(dm->FProfileIndex(), 2) << "the switch stands";
}

// The mouse's own active CPI level, read back after the first store, is
// stored before the banks are written.
TEST_F(SequenceStoresTest, TheReadBackLevelIsStoredBeforeTheBanksAreWritten)
{
    emulated.memory()[0x049] = 2; // bank 0's active level
    ApplyReport report;
    ASSERT_TRUE(ApplySettings(*dm, *emulated.hid, state, host, &report));
    ASSERT_TRUE(report.cpiIndexFromMouse);
    ASSERT_EQ(host.stores.size(), 2u);
    EXPECT_EQ(host.stores[0], 0u);
    // The first write of a bank, by its place in the mouse's report log.
    const std::vector<MouseEmulator::LogEntry>& log = emulated.mouse().log();
    const std::uint16_t buttons = bankAddress(0, kButtonBlockOffset);
    std::size_t firstBankWrite = 0;
    while (firstBankWrite < log.size()
           && !(log[firstBankWrite].kind == MouseEmulator::LogEntry::Set
                && log[firstBankWrite].report[1] == kCommandWriteMemory
                && (log[firstBankWrite].report[2] | log[firstBankWrite].report[3] << 8) == buttons))
        ++firstBankWrite;
    ASSERT_LT(firstBankWrite, log.size());
    EXPECT_GT(host.stores[1], 0u) << "stored after the level was read";
    EXPECT_LE(host.stores[1], firstBankWrite);
}
