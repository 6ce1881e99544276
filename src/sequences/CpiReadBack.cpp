#include "sequences/CpiReadBack.h"

#include "wire/CpiEncoding.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"

#include <algorithm>

namespace k4812 {

int ReadCurrentCpiIndex(TuiHIDData& device, Pauser& pauser, int& index)
{
    std::uint8_t selection = 0;
    int error = ReadDeviceMemory(device, kActiveBankAddress, &selection, 1);
    pauser.pause(kPauseAfterSelectionRead);
    if (error != 0)
        return error;

    const int bank = selection == 0 ? 0 : 1;
    CpiBlock block{};
    error = ReadDeviceMemory(device, bankAddress(bank, kCpiBlockOffset), block.data(), block.size());
    pauser.pause(kPauseAfterCpiRead);
    if (error != 0)
        return error;

    const int levels = std::min<int>(block[0], kCpiBlockLevels);
    if (block[1] >= levels)
        return kErrorNoSuchLevel;
    index = block[1];
    return 0;
}

} // namespace k4812
