#pragma once
// The sensitivity (CPI) levels as the mouse takes them.
//
// The sensor knows eight CPI steps. A level's X and Y are snapped to one step
// (the larger of the two decides) and sent as that step's number plus one;
// the 32-byte CPI block carries the number of levels, the active level and
// ten levels.

#include "wire/DeviceByte.h"
#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace k4812 {

// The sensor's CPI steps, ascending; step k is sent as code k + 1.
constexpr std::array<int, 8> kCpiSteps{400, 800, 1200, 1700, 2100, 2500, 3000, 3400};

constexpr int kCpiBlockLevels = 10;   // CPIState entries 0 to 9 travel; entry 10 never does
using CpiBlock = std::array<std::uint8_t, kCpiBlockSize>;

// Whichever of low and high is nearer to value; low on a tie.
int NearestOfTwo(int low, int high, int value);

// The number (0 to 7) of the step nearest to value; a value exactly between
// two steps takes the lower one. Values outside the table take its ends.
int CpiStepIndex(int value);

// The CPI of that step.
int SnapCpi(int value);

// The device code of an enabled level: CpiStepIndex(max(x, y)) + 1, 1 to 8;
// 1 when x or y is 0.
int DeviceCpiCode(int x, int y);

// The CPI a device code stands for (the inverse of DeviceCpiCode's step
// choice); 0 for a code outside 1 to 8.
int CpiOfDeviceCode(int code);

// Byte 0 CPILevel, byte 1 CurrentCPIIndex, then per level k (0 to 9) at
// 2 + 3k: enabled flag, X code, Y code (both 0 for a disabled level).
// CPILevel, CurrentCPIIndex and Enabled are clamped to a byte; a level counts
// as enabled when its Enabled is not 0.
CpiBlock EncodeCpiBlock(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes = nullptr);

} // namespace k4812
