#include "sequences/ApplyVerification.h"

#include "sequences/MouseReadBack.h"
#include "wire/MemoryMap.h"

#include <cerrno>

namespace k4812 {

namespace {

struct BlockOfStep {
    ApplyStep step;
    int bank;
    std::uint16_t address;
    std::size_t size;
};

// The written blocks in the order the apply writes them.
std::vector<BlockOfStep> writtenBlocks()
{
    std::vector<BlockOfStep> blocks;
    for (int bank = 0; bank < kBankCount; ++bank) {
        blocks.push_back({ApplyStep::Buttons, bank, bankAddress(bank, kButtonBlockOffset), kButtonBlockSize});
        blocks.push_back({ApplyStep::Macros, bank, macroBlockAddress(bank, 0), kMacroBlockSize * kMacroBlockCount});
        blocks.push_back({ApplyStep::Light, bank, bankAddress(bank, kLightBlockOffset), kLightBlockSize});
        blocks.push_back({ApplyStep::CpiLevels, bank, bankAddress(bank, kCpiBlockOffset), kCpiBlockSize});
    }
    blocks.push_back({ApplyStep::ReportRate, -1, kReportRateAddress, 1});
    blocks.push_back({ApplyStep::ActiveMode, -1, kActiveBankAddress, 1});
    blocks.push_back({ApplyStep::WheelLight, -1, kWheelLightAddress, 1});
    return blocks;
}

} // namespace

bool IsComparedAfterApply(const MemoryImage& sent, std::size_t address)
{
    if (address >= sent.written.size() || !sent.written[address])
        return false;
    if (address == kActiveBankAddress)
        return false;
    for (int bank = 0; bank < kBankCount; ++bank) {
        if (address == std::size_t(bankAddress(bank, kCpiBlockOffset) + 1))
            return false;
    }
    return true;
}

ApplyVerification VerifyAppliedMemory(TuiHIDData& device, Pauser& pauser, const MemoryImage& sent)
{
    ApplyVerification result;
    std::vector<MemorySpan> spans;
    for (std::size_t a = 0; a < sent.written.size();) {
        if (!sent.written[a]) {
            ++a;
            continue;
        }
        std::size_t end = a;
        while (end < sent.written.size() && sent.written[end])
            ++end;
        spans.push_back({std::uint16_t(a), std::uint16_t(end - a)});
        a = end;
    }
    std::vector<std::uint8_t> memory;
    result.readError = ReadSettingsMemory(device, pauser, spans, memory, &result.exchanges, AfterReads::LeaveQuiet);
    if (result.readError != 0)
        return result;
    for (const BlockOfStep& block : writtenBlocks()) {
        for (std::size_t a = block.address; a < block.address + block.size; ++a) {
            if (IsComparedAfterApply(sent, a) && memory[a] != sent.bytes[a]) {
                result.notKept.push_back({block.step, block.bank, EIO});
                break;
            }
        }
    }
    return result;
}

} // namespace k4812
