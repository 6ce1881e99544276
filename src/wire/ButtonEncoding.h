#pragma once
// The button block: what each of the mouse's buttons does.
//
// 65 bytes: the number of entries, then per button a device function code and
// three parameter bytes (room for 16 entries). The block is built from a
// profile copy prepared for the device: the window's fourth and fifth buttons
// are the mouse's fifth and fourth, and the mouse has a fixed eighth entry.

#include "wire/DeviceByte.h"
#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace k4812 {

constexpr int kButtonBlockEntries = 16;
constexpr int kDeviceButtonCount = 8;
using ButtonBlock = std::array<std::uint8_t, kButtonBlockSize>;

// Device function codes.
enum DeviceFunctionCode : std::uint8_t {
    kDeviceClick = 1,
    kDeviceRightClick = 2,
    kDeviceMiddleButton = 3,
    kDeviceBackward = 4,
    kDeviceForward = 5,
    kDeviceCpiSwitch = 8,
    kDeviceCpiUp = 9,
    kDeviceCpiDown = 10,
    kDeviceWheelUp = 11,
    kDeviceWheelDown = 12,
    kDeviceEighthButton = 13,
    kDeviceMediaKey = 14,   // also "Disable": a media key with usage 0
    kDeviceKeyCombination = 15,
    kDeviceSingleKey = 16,
    kDeviceMacro = 17,
    kDeviceFireKey = 18,
    kDeviceRawCode = 19,
};

// Exchanges elements a and b (0 to 14) of ButtonFuncInfo; false (and no
// change) when either is out of range.
bool SwapButtonFunctions(TMOUSEPROFILEINFO& profile, int a, int b);

// The copy that the device encoders read: elements 3 and 4 exchanged,
// ButtonCount 8, element 7 given FunctionClass 0 and DeviceCode 13. The
// profile itself is not changed.
std::unique_ptr<TMOUSEPROFILEINFO> PrepareDeviceProfile(const TMOUSEPROFILEINFO& profile);

// Byte 0 = ButtonCount, then entry i at 1 + 4i for elements 0 to
// ButtonCount - 1. Where a value cannot be carried the entry stays sound:
//  - a key whose usage does not fit a byte (browser and launch keys) is sent
//    as usage 0, "no key";
//  - a media key value above 255, a function code outside 0 to 255 and a
//    macro that has no block are sent as Disable (0E 00 00 00);
//  - a wheel parameter or fire count above 255 is clamped to 255.
// A macro entry carries its block number and the length of that block as
// EncodeMacroBlocks builds it, so the mouse never plays past a macro's end.
ButtonBlock EncodeButtonBlock(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes = nullptr);

} // namespace k4812
