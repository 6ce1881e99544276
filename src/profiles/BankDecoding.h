#pragma once
// A bank of the mouse's settings memory read back into a profile record: the
// inverse of the apply's encoders, with the menu choices the window would
// have stored for each button.
//
// The mouse keeps only part of a profile. What it keeps replaces the
// profile's own values; everything else stays as the profile had it:
//  - kept: the seven button functions (with FunctionIndex, MenuID and the
//    parameters of their kind), the CPI levels as the sensor steps they stand
//    for (X = Y, the same in CPIState and HWCPIState), the active level, the
//    number of levels, the report rate, the light, the wheel-light byte, and
//    one macro per macro block a button plays, with its actions and loop
//    count;
//  - not kept by the mouse: macro names (the macros become "Mouse macro 1",
//    "Mouse macro 2", ... in the order the buttons name them) and macros no
//    button plays, X and Y apart, the exact CPI values between steps, the
//    values of disabled levels, delays finer than 10 ms, the extended flag of
//    a button's key (a usage shared by several keys comes back as the first
//    key of the key table that has it), whether a combination was chosen as
//    "Combo Key" or as the equal Basic / Advanced shortcut, the pointer and
//    wheel settings of the desktop, the wheel directions, the fire-key
//    defaults and the options of the pages.
//
// Anything the decoder cannot map (an unknown function code, a parameter
// the window never sets, a macro block that does not parse, a value out of
// range) is refused with a sentence naming the block, its address and the
// byte; the profile is then left exactly as it was.

#include "records/Records.h"

#include <QString>

#include <cstdint>
#include <span>

namespace k4812 {

// The name a macro read from the mouse gets: "Mouse macro <n>", n from 1.
QString mouseMacroName(int number);

// Decodes bank 0 or 1 of `memory` (the settings memory from address 0; it
// must hold at least the bank's blocks and the shared bytes) into `profile`.
// Returns an empty text on success, else why the bank cannot be read (and
// `profile` is unchanged).
QString DecodeBankIntoProfile(std::span<const std::uint8_t> memory, int bank, TMOUSEPROFILEINFO& profile);

// Whether both banks and the shared bytes of `memory` hold what an apply of
// the factory default profile into both banks writes. The active CPI level
// and the selection byte do not count: the mouse's own buttons change them.
bool MemoryHoldsFactorySettings(std::span<const std::uint8_t> memory);

} // namespace k4812
