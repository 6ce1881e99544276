#pragma once
// Reading the settings memory back into what the mouse would do: the inverse
// of the encoders (ButtonEncoding, CpiEncoding, LightEncoding,
// MacroEncoding). Pure functions from bytes to a DeviceDescription.

#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/DeviceDescription.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"

#include <array>
#include <cstdint>
#include <span>

namespace k4812 {

// One 4-byte entry of the button block at position `entry`. Macro entries
// name their block and length; the macro itself is in the bank's macros.
DecodedButton DecodeButtonEntry(int entry, const std::array<std::uint8_t, 4>& bytes);

// The entries the block's first byte announces (at most the block's 16).
std::vector<DecodedButton> DecodeButtonBlock(const ButtonBlock& block, QStringList* problems = nullptr);

DecodedCpi DecodeCpiBlock(const CpiBlock& block);

// The light block back into a light record (colour complemented back, in the
// order red, green, blue).
TLEDCONFIG DecodeLightBlock(const LightBlock& block);

// The five bytes of a light preview; BREATH_SECOND is not among them (0).
DecodedPreviewLight DecodeLightPreview(const std::array<std::uint8_t, 5>& bytes);

DecodedMacroAction DecodeMacroAction(const MacroAction& bytes);

// Block `block` as the mouse plays it: `length` bytes (as its button entry
// says), the last 3-byte entry taken as the loop entry when it is one.
// A length beyond the block or not a multiple of 3 is cut, with a problem
// noted.
DecodedMacro DecodeMacroBlock(int block, const MacroBlock& bytes, int length);

// One bank of the memory: buttons, CPI levels, light, and the macro blocks
// its button entries name.
DecodedBank DecodeBank(std::span<const std::uint8_t> memory, int bank);

// The whole memory. Bytes missing from a short memory read as 0, bytes after
// its end are ignored. The emulator-only fields stay empty.
DeviceDescription DecodeDeviceMemory(std::span<const std::uint8_t> memory);

// The name of a device function code ("Click", "Fire Key", ...); for code 14
// "Media Key" (Disable is a media key with no usage).
QString DeviceFunctionName(int code);

} // namespace k4812
