#pragma once
// The mouse's settings memory: 16-bit byte addresses, two banks (one per
// hardware mode) with every per-bank block at the same offset from the bank's
// base, and three single bytes shared by both banks.

#include <cstddef>
#include <cstdint>

namespace k4812 {

// Shared bytes.
constexpr std::uint16_t kWheelLightAddress = 0x03E; // bit 7 light on, bits 0-6 value
constexpr std::uint16_t kActiveBankAddress = 0x040; // 0 = bank 0, anything else = bank 1
constexpr std::uint16_t kReportRateAddress = 0x045; // high nibble bank 1, low nibble bank 0

// Bank bases: "Mode 1" is bank 0, "Mode 2" is bank 1.
constexpr int kBankCount = 2;
constexpr std::uint16_t kBankBase[kBankCount] = {0x000, 0x900};

// Per-bank blocks, as offsets from the bank's base.
constexpr std::uint16_t kCpiBlockOffset = 0x048;
constexpr std::size_t kCpiBlockSize = 32;
constexpr std::uint16_t kButtonBlockOffset = 0x090;
constexpr std::size_t kButtonBlockSize = 65;
constexpr std::uint16_t kMacroBlockOffset = 0x0D1;
constexpr std::uint16_t kMacroBlockStride = 0x180;
constexpr std::size_t kMacroBlockSize = 384;
constexpr int kMacroBlockCount = 5;
constexpr std::uint16_t kLightBlockOffset = 0x881;
constexpr std::size_t kLightBlockSize = 6;

// The whole memory, 0x000 to the end of bank 1's light block.
constexpr std::size_t kSettingsMemorySize = 0x1187;

constexpr std::uint16_t bankAddress(int bank, std::uint16_t offset)
{
    return std::uint16_t(kBankBase[bank] + offset);
}

constexpr std::uint16_t macroBlockAddress(int bank, int block)
{
    return bankAddress(bank, std::uint16_t(kMacroBlockOffset + block * kMacroBlockStride));
}

static_assert(bankAddress(1, kCpiBlockOffset) == 0x948);
static_assert(bankAddress(1, kButtonBlockOffset) == 0x990);
static_assert(macroBlockAddress(1, 0) == 0x9D1 && macroBlockAddress(1, 4) == 0xFD1);
static_assert(macroBlockAddress(0, kMacroBlockCount - 1) + kMacroBlockSize == 0x851);
static_assert(bankAddress(1, kLightBlockOffset) == 0x1181);
static_assert(bankAddress(1, kLightBlockOffset) + kLightBlockSize == kSettingsMemorySize);

} // namespace k4812
