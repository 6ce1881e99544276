#pragma once
// The check after an apply: every block the apply wrote is read back and
// compared byte by byte with what was sent, so that a mouse that did not
// keep a setting is not reported as written.
//
// Two bytes the mouse changes by itself are not compared: the active CPI
// level (byte 1 of each CPI block; the mouse's DPI buttons step it) and the
// selection byte at 0x040 (the mouse's mode button changes it). Everything
// else the apply wrote the mouse keeps exactly: the emulator and the
// encodings have no other byte that the mouse rewrites.

#include "sequences/ApplySteps.h"
#include "sequences/Pauser.h"
#include "wire/HidData.h"
#include "wire/MemoryImage.h"

#include <vector>

namespace k4812 {

struct ApplyVerification {
    int readError = 0;                       // the read back failed: nothing could be compared
    std::vector<ApplyStepResult> notKept;    // the blocks that differ (error EIO), in the apply's order
    int exchanges = 0;                       // reads sent

    bool kept() const { return readError == 0 && notKept.empty(); }
};

// Whether `address` is compared (it is written and not one of the two bytes
// the mouse changes itself).
bool IsComparedAfterApply(const MemoryImage& sent, std::size_t address);

// Reads back every span `sent` marks as written (in as few exchanges as
// possible) and compares. It is the apply's last step: the read pause is
// left to the mouse's next command (AfterReads::LeaveQuiet).
ApplyVerification VerifyAppliedMemory(TuiHIDData& device, Pauser& pauser, const MemoryImage& sent);

} // namespace k4812
