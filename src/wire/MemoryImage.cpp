#include "wire/MemoryImage.h"

#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"

#include <algorithm>

namespace k4812 {

void MemoryImage::put(std::uint16_t address, std::span<const std::uint8_t> block)
{
    const std::size_t n = std::min(block.size(), bytes.size() - std::min<std::size_t>(address, bytes.size()));
    std::copy_n(block.begin(), n, bytes.begin() + address);
    std::fill_n(written.begin() + address, n, true);
}

int PutProfileIntoBank(MemoryImage& image, const TMOUSEPROFILEINFO& profile, int bank, EncodingNotes* notes)
{
    const auto prepared = PrepareDeviceProfile(profile);
    const ButtonBlock buttons = EncodeButtonBlock(*prepared, notes);
    const MacroBlocks macros = EncodeMacroBlocks(*prepared, notes);
    image.put(bankAddress(bank, kButtonBlockOffset), buttons);
    for (int k = 0; k < kMacroBlockCount - 1; ++k)
        image.put(macroBlockAddress(bank, k), std::span(macros.blocks[k]).first(macros.lengths[k]));
    image.put(macroBlockAddress(bank, kMacroBlockCount - 1), macros.blocks[kMacroBlockCount - 1]);
    image.put(bankAddress(bank, kLightBlockOffset), EncodeLightBlock(prepared->ConfigInfo.LEDConfig));
    image.put(bankAddress(bank, kCpiBlockOffset), EncodeCpiBlock(*prepared, notes));
    return ReportRateCode(*prepared, notes);
}

void PutSharedBytes(MemoryImage& image, int rateCode0, int rateCode1, int activeMode, const TMOUSEPROFILEINFO& current)
{
    const std::uint8_t rate = EncodeReportRateByte(rateCode0, rateCode1);
    const auto mode = std::uint8_t(activeMode);
    const std::uint8_t wheel = EncodeWheelLightByte(current.ConfigInfo.WheelLedOnOff, current.ConfigInfo.HWVWheelValue);
    image.put(kReportRateAddress, std::span(&rate, 1));
    image.put(kActiveBankAddress, std::span(&mode, 1));
    image.put(kWheelLightAddress, std::span(&wheel, 1));
}

} // namespace k4812
