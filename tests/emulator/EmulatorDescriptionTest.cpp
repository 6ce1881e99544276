#include "wire/MemoryMap.h"
#include "emulator/EmulatorDescription.h"
#include "emulator/MouseEmulator.h"

#include <gtest/gtest.h>

using namespace k4812;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes memoryAt(const Bytes& memory, std::uint16_t address, std::size_t length)
{
    return Bytes(memory.begin() + address, memory.begin() + address + length);
}

} // namespace

TEST(EmulatorFactoryMemory, BothBanksHoldTheFactoryProfileAsAnApplyWouldSendIt)
{
    const Bytes memory = initialEmulatorMemory();
    ASSERT_EQ(memory.size(), kSettingsMemorySize);
    EXPECT_EQ(memory[kActiveBankAddress], 0x00);
    EXPECT_EQ(memory[kReportRateAddress], 0x22);
    EXPECT_EQ(memory[kWheelLightAddress], 0x81);

    Bytes buttons = {0x08, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 5, 0, 0, 0,
                     4,    0, 0, 0, 9, 0, 0, 0, 10, 0, 0, 0, 13, 0, 0, 0};
    buttons.resize(kButtonBlockSize, 0);
    Bytes cpi = {0x04, 0x01, 1, 1, 1, 1, 2, 2, 1, 4, 4, 1, 8, 8};
    cpi.resize(kCpiBlockSize, 0);
    for (int bank = 0; bank < kBankCount; ++bank) {
        EXPECT_EQ(memoryAt(memory, bankAddress(bank, kButtonBlockOffset), kButtonBlockSize), buttons) << bank;
        EXPECT_EQ(memoryAt(memory, bankAddress(bank, kCpiBlockOffset), kCpiBlockSize), cpi) << bank;
        EXPECT_EQ(memoryAt(memory, bankAddress(bank, kLightBlockOffset), kLightBlockSize),
                  (Bytes{0xFF, 0x00, 0xFF, 0x01, 0x01, 0x00}))
            << bank;
        EXPECT_EQ(memoryAt(memory, macroBlockAddress(bank, 0), kMacroBlockCount * kMacroBlockSize),
                  Bytes(kMacroBlockCount * kMacroBlockSize, 0))
            << bank;
    }
    EXPECT_EQ(EmulatorState::initial().memory, memory);
    EXPECT_EQ(MouseEmulator().state().memory, memory);
}

TEST(EmulatorDescription, ANewMouseDescribesTheFactorySettings)
{
    EmulatorState state = EmulatorState::initial();
    DeviceDescription d = describeEmulatorState(state);
    EXPECT_EQ(d.activeBank, 0);
    EXPECT_EQ(d.reportRateHz, (std::array<int, 2>{500, 500}));
    EXPECT_TRUE(d.wheelLightOn);
    EXPECT_EQ(d.wheelValue, 1);
    EXPECT_FALSE(d.lastActivation.has_value());
    EXPECT_FALSE(d.shownLight.has_value());
    for (const DecodedBank& bank : d.banks) {
        QStringList texts;
        for (const DecodedButton& b : bank.buttons)
            texts << b.text;
        EXPECT_EQ(texts, (QStringList{"Click", "Right Click", "Middle Button", "Forward", "Backward", "DPI +", "DPI -",
                                      "Eighth Button"}));
        EXPECT_EQ(bank.buttons[3].windowEntry, 5);
        EXPECT_EQ(bank.cpi.levelCount, 4);
        EXPECT_EQ(bank.cpi.activeLevel, 1);
        const int cpis[4] = {400, 800, 1700, 3400};
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(bank.cpi.levels[k].xCpi, cpis[k]) << k;
        EXPECT_EQ(bank.light.B, 255);
        EXPECT_EQ(bank.light.BRIGHT_LEVEL, 1);
        for (const DecodedMacro& m : bank.macros)
            EXPECT_FALSE(m.used);
    }

    state.lastActivation = std::array<std::uint8_t, 2>{1, 2};
    state.shownLight = std::array<std::uint8_t, 5>{0x00, 0xFF, 0xFF, 2, 3};
    d = describeEmulatorState(state);
    EXPECT_EQ(d.lastActivation, state.lastActivation);
    ASSERT_TRUE(d.shownLight.has_value());
    EXPECT_EQ(d.shownLight->light.G, 255);
    EXPECT_EQ(d.shownLight->light.R, 0);
    EXPECT_EQ(d.shownLight->light.BREATH_SPEED, 3);
}
