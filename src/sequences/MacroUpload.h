#pragma once
// Writing a bank's five macro blocks into the mouse.

#include "wire/HidData.h"
#include "wire/MacroEncoding.h"

#include <cerrno>

namespace k4812 {

// Refused before anything is sent: a bank other than 0 or 1, or a length in
// use longer than its block.
constexpr int kErrorBadMacroBlocks = EINVAL;

// Blocks 0 to 3 are written only when they are in use (length above 0), each
// with its length in use; block 4 is always written whole, 384 bytes, zeros
// included. Blocks that are not written keep what the mouse held; no button
// entry refers to them. Every write is attempted even when an earlier one
// failed (the mouse may refuse one block and take the others); the first
// error is returned.
int WriteMacroBlocks(TuiHIDData& device, const MacroBlocks& blocks, int bank);

} // namespace k4812
