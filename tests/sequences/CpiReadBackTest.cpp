#include "sequences/CpiReadBack.h"
#include "wire/MemoryMap.h"

#include "EmulatedMouse.h"
#include "RecordingPauser.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::EmulatedMouse;
using k4812::test::RecordingPauser;
using k4812::test::SentCommand;

namespace {

constexpr int kUntouched = 77;

// A mouse whose two banks hold CPI blocks with different active levels.
class CpiReadBack : public ::testing::Test {
protected:
    CpiReadBack() : pauser([this] { return emulated.logSize(); })
    {
        setCpiBlock(0, 4, 2);
        setCpiBlock(1, 4, 3);
    }

    void setCpiBlock(int bank, std::uint8_t levels, std::uint8_t active)
    {
        emulated.memory()[bankAddress(bank, kCpiBlockOffset)] = levels;
        emulated.memory()[bankAddress(bank, kCpiBlockOffset) + 1] = active;
    }
    void setSelection(std::uint8_t value) { emulated.memory()[kActiveBankAddress] = value; }

    int read()
    {
        index = kUntouched;
        return ReadCurrentCpiIndex(*emulated.hid, pauser, index);
    }

    EmulatedMouse emulated;
    RecordingPauser pauser;
    int index = kUntouched;
};

} // namespace

TEST_F(CpiReadBack, ReadsTheSelectionThenTheSelectedBanksBlockWithTheirPauses)
{
    ASSERT_EQ(read(), 0);
    EXPECT_EQ(index, 2);
    // Each read is a request and a fetch; the pauses come after each fetch.
    const std::vector<SentCommand> sent = emulated.sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].command, 3);
    EXPECT_EQ(sent[0].address, kActiveBankAddress);
    EXPECT_EQ(sent[0].length, 1);
    EXPECT_EQ(sent[1].address, 0x048);
    EXPECT_EQ(sent[1].length, 32);
    EXPECT_EQ(pauser.pauses, (std::vector<RecordingPauser::Pause>{{100, 2}, {50, 4}}));
    EXPECT_EQ(pauser.total(), 150);
}

TEST_F(CpiReadBack, AnyNonzeroSelectionMeansBankOne)
{
    const std::pair<std::uint8_t, std::uint16_t> cases[] = {{0, 0x048}, {1, 0x948}, {3, 0x948}, {0xFF, 0x948}};
    for (const auto& [selection, address] : cases) {
        emulated.mouse().clearLog();
        setSelection(selection);
        ASSERT_EQ(read(), 0) << int(selection);
        EXPECT_EQ(index, address == 0x048 ? 2 : 3) << int(selection);
        EXPECT_EQ(emulated.sent().at(1).address, address) << int(selection);
    }
}

TEST_F(CpiReadBack, AFailedReadLeavesTheIndexAndStillPauses)
{
    struct Case {
        const char* faults;
        int error;
        std::vector<int> pauses;
        std::size_t reportsSent;
    };
    const Case cases[] = {
        {"absent", ENODEV, {100}, 0},    // no mouse: nothing sent, the first wait is still made
        {"fail=1", EIO, {100}, 1},       // the selection request fails: the block is not read
        {"short=2", EIO, {100}, 1},      // the selection answer arrives cut
        {"fail=3", EIO, {100, 50}, 2},   // the block request fails
        {"wrong=4", EBADMSG, {100, 50}, 2},
    };
    for (const Case& c : cases) {
        EmulatedMouse mouse;
        mouse.setFaults(c.faults);
        RecordingPauser recorder;
        int value = kUntouched;
        EXPECT_EQ(ReadCurrentCpiIndex(*mouse.hid, recorder, value), c.error) << c.faults;
        EXPECT_EQ(value, kUntouched) << c.faults;
        EXPECT_EQ(recorder.milliseconds(), c.pauses) << c.faults;
        EXPECT_EQ(mouse.sent().size(), c.reportsSent) << c.faults;
    }
}

TEST_F(CpiReadBack, ALevelTheBlockDoesNotHoldIsNotTaken)
{
    // (levels in the block, active level)
    const std::pair<std::uint8_t, std::uint8_t> refused[] = {{4, 4}, {2, 3}, {0, 0}, {0xFF, 10}};
    for (const auto& [levels, active] : refused) {
        setCpiBlock(0, levels, active);
        EXPECT_EQ(read(), kErrorNoSuchLevel) << int(levels) << " " << int(active);
        EXPECT_EQ(index, kUntouched);
    }
    setCpiBlock(0, 0xFF, 9);   // the block carries ten levels
    ASSERT_EQ(read(), 0);
    EXPECT_EQ(index, 9);
}
