#include "sequences/MacroUpload.h"

#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"

namespace k4812 {

int WriteMacroBlocks(TuiHIDData& device, const MacroBlocks& blocks, int bank)
{
    if (bank < 0 || bank >= kBankCount)
        return kErrorBadMacroBlocks;
    for (const std::uint16_t length : blocks.lengths) {
        if (length > kMacroBlockSize)
            return kErrorBadMacroBlocks;
    }
    constexpr int kAlwaysWhole = kMacroBlockCount - 1;
    int firstError = 0;
    for (int k = 0; k < kMacroBlockCount; ++k) {
        const std::size_t length = k == kAlwaysWhole ? kMacroBlockSize : blocks.lengths[k];
        if (length == 0)
            continue;
        const int error = WriteDeviceMemory(device, macroBlockAddress(bank, k), blocks.blocks[k].data(), length);
        if (firstError == 0)
            firstError = error;
    }
    return firstError;
}

} // namespace k4812
