#pragma once
// Reading back the CPI level that is active in the mouse, so that a level
// chosen with the mouse's own DPI buttons survives the next apply.

#include "wire/HidData.h"
#include "sequences/Pauser.h"

#include <cerrno>

namespace k4812 {

// The mouse's pauses after the two reads.
constexpr int kPauseAfterSelectionRead = 100;
constexpr int kPauseAfterCpiRead = 50;

// The CPI block read back names a level the block does not hold.
constexpr int kErrorNoSuchLevel = ERANGE;

// Reads the selection byte (0x040), pauses 100 ms, reads the CPI block of
// the bank it selects (bank 0 for 0, bank 1 for any other value), pauses
// 50 ms, and sets `index` to the block's active level. Each pause is made
// whether or not its read succeeded. On failure `index` is unchanged and the
// error of the failing read is returned; so is kErrorNoSuchLevel when the
// active level is not below the block's level count (a mouse whose memory
// holds no levels, or a stale index): a level that does not exist must not
// become the profile's active level.
int ReadCurrentCpiIndex(TuiHIDData& device, Pauser& pauser, int& index);

} // namespace k4812
