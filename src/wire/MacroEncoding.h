#pragma once
// Macros as the mouse takes them: 3-byte actions in five 384-byte blocks.
//
// Byte 0 of an action is the action type in bits 0-6 and the key state
// (1 = down) in bit 7. A key action carries the key's HID usage and its
// extended flag, a delay action its length in 10 ms units (16 bits), every
// other action its two value bytes unchanged. A macro with a loop count ends
// in a loop entry 07, count low, count high.

#include "wire/DeviceByte.h"
#include "wire/MacroSelection.h"
#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace k4812 {

constexpr std::size_t kMacroActionSize = 3;
constexpr int kMacroBlockEntries = int(kMacroBlockSize / kMacroActionSize);   // 128

// Action types with their own encoding.
constexpr int kMacroTypeKey = 4;
constexpr int kMacroTypeDelay = 6;
constexpr int kMacroTypeLoop = 7;

using MacroAction = std::array<std::uint8_t, kMacroActionSize>;
using MacroBlock = std::array<std::uint8_t, kMacroBlockSize>;

struct MacroBlocks {
    std::array<MacroBlock, kMacroBlockCount> blocks{};
    std::array<std::uint16_t, kMacroBlockCount> lengths{};   // bytes in use; 0 = no macro
};

// Milliseconds to 10 ms units, rounded to the nearest, halves to even
// (25 ms gives 2, 35 ms gives 4).
int MacroDelayUnits(int milliseconds);

// One action. Three zero bytes when it cannot be carried: a state other than
// 0 or 1, or a type above 127 (bit 7 is the state). A key whose usage does not
// fit a byte (browser and launch keys) is sent as usage 0, "no key".
MacroAction EncodeMacroAction(int type, int state, std::uint8_t value1, std::uint8_t value2);

// The five blocks of a prepared profile copy: block k holds the macro of the
// profile's macro list whose nMacroIndex is entry k of DistinctMacroList.
// Limits that a stored profile may break are kept without overrunning a block:
//  - a macro whose MacroListCount is outside 0 to 128 is not sent (length 0);
//  - a macro of 128 actions has no room left for its loop entry: it is sent
//    without it (it then plays once);
//  - at most 21 macros of the list are looked at.
MacroBlocks EncodeMacroBlocks(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes = nullptr);

} // namespace k4812
