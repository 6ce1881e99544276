#include "wire/ButtonEncoding.h"
#include "wire/MacroEncoding.h"
#include "sequences/MacroUpload.h"
#include "wire/MemoryMap.h"

#include "DefaultProfileFixture.h"
#include "EmulatedMouse.h"
#include "MacroFixture.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::Bytes;
using k4812::test::EmulatedMouse;
using k4812::test::SentCommand;

namespace {

constexpr std::uint8_t kStale = 0xEE;

// A mouse whose macro area still holds stale bytes from an earlier upload.
class MacroUpload : public ::testing::Test {
protected:
    MacroUpload()
    {
        for (int bank = 0; bank < kBankCount; ++bank) {
            const auto begin = emulated.memory().begin() + macroBlockAddress(bank, 0);
            std::fill(begin, begin + kMacroBlockCount * kMacroBlockStride, kStale);
        }
    }

    Bytes memoryAt(std::uint16_t address, std::size_t length)
    {
        return Bytes(emulated.memory().begin() + address, emulated.memory().begin() + address + length);
    }

    EmulatedMouse emulated;
};

MacroBlocks blocksOf(const TMOUSEPROFILEINFO& profile)
{
    return EncodeMacroBlocks(*PrepareDeviceProfile(profile));
}

} // namespace

TEST_F(MacroUpload, AProfileWithoutMacrosSendsOnlyBlockFourAsZeros)
{
    const auto profile = test::makeDefaultProfile();
    for (int bank = 0; bank < kBankCount; ++bank) {
        emulated.mouse().clearLog();
        ASSERT_EQ(WriteMacroBlocks(*emulated.hid, blocksOf(*profile), bank), 0);
        const std::vector<SentCommand> sent = emulated.sent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].reportId, 4);
        EXPECT_EQ(sent[0].reportLength, 1024u);
        EXPECT_EQ(sent[0].address, bank == 0 ? 0x6D1 : 0xFD1);
        EXPECT_EQ(sent[0].payload, Bytes(384, 0));
        // Blocks 0 to 3 keep what the mouse held.
        EXPECT_EQ(memoryAt(macroBlockAddress(bank, 0), 4 * kMacroBlockStride), Bytes(4 * kMacroBlockStride, kStale));
    }
}

TEST_F(MacroUpload, BlocksInUseGoWithTheirLengthsAndBlockFourWhole)
{
    auto profile = test::makeDefaultProfile();
    test::putMacro(*profile, 0, {test::keyDown('A'), test::delayMs(50), test::keyUp('A')});
    test::putMacro(*profile, 1, {test::keyDown('B')}, 3);
    test::putMacro(*profile, 2, {test::delayMs(1000), test::delayMs(65535)});
    test::putMacro(*profile, 3, {test::keyDown('C')});   // in the profile, on no button
    test::assignMacro(*profile, 0, 2);
    test::assignMacro(*profile, 1, 0);
    test::assignMacro(*profile, 6, 1);
    const MacroBlocks blocks = blocksOf(*profile);

    ASSERT_EQ(WriteMacroBlocks(*emulated.hid, blocks, 1), 0);
    const std::vector<SentCommand> sent = emulated.sent();
    ASSERT_EQ(sent.size(), 4u);
    // Blocks in the order the buttons meet their macros: 2, 0, 1.
    const std::tuple<std::uint16_t, Bytes> expected[] = {
        {0x9D1, {0x06, 0x64, 0x00, 0x06, 0x9A, 0x19}},
        {0xB51, {0x84, 0x04, 0x00, 0x06, 0x05, 0x00, 0x04, 0x04, 0x00}},
        {0xCD1, {0x84, 0x05, 0x00, 0x07, 0x03, 0x00}},
    };
    for (std::size_t k = 0; k < 3; ++k) {
        const auto& [address, bytes] = expected[k];
        EXPECT_EQ(sent[k].address, address) << k;
        EXPECT_EQ(sent[k].payload, bytes) << k;
        EXPECT_EQ(memoryAt(address, bytes.size()), bytes) << k;
        // The rest of a block that was sent short keeps the mouse's bytes.
        EXPECT_EQ(emulated.memory()[address + bytes.size()], kStale) << k;
    }
    EXPECT_EQ(sent[3].address, 0xFD1);
    EXPECT_EQ(sent[3].payload, Bytes(384, 0));
    EXPECT_EQ(memoryAt(0xE51, kMacroBlockSize), Bytes(kMacroBlockSize, kStale));   // block 3 not sent
}

TEST_F(MacroUpload, ImpossibleBlocksAreRefusedBeforeAnythingIsSent)
{
    const MacroBlocks fine;
    for (const int bank : {-1, 2})
        EXPECT_EQ(WriteMacroBlocks(*emulated.hid, fine, bank), kErrorBadMacroBlocks) << bank;
    MacroBlocks tooLong;
    tooLong.lengths[2] = kMacroBlockSize + 3;
    EXPECT_EQ(WriteMacroBlocks(*emulated.hid, tooLong, 0), kErrorBadMacroBlocks);
    EXPECT_TRUE(emulated.sent().empty());
}

TEST_F(MacroUpload, AFailedBlockDoesNotStopTheOthers)
{
    MacroBlocks blocks;
    blocks.lengths = {3, 3, 0, 0, 0};
    blocks.blocks[1][0] = 0x84;
    emulated.setFaults("fail=1");
    EXPECT_EQ(WriteMacroBlocks(*emulated.hid, blocks, 0), EIO);
    EXPECT_EQ(emulated.sent().size(), 3u);
    EXPECT_EQ(emulated.memory()[macroBlockAddress(0, 0)], kStale);   // the failed write changed nothing
    EXPECT_EQ(emulated.memory()[macroBlockAddress(0, 1)], 0x84);
}
