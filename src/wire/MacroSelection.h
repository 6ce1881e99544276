#pragma once
// Which macros of a profile go to the mouse, and in which block.
//
// The mouse holds five macro blocks per bank. They belong to the distinct
// macros assigned to buttons, in the order in which the buttons are met. The
// button block and the macro blocks both use this one list, so a button's
// block number always names the block that carries its macro.

#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <cstdint>
#include <vector>

namespace k4812 {

// The nMacroIndex values of the macros assigned to the buttons in use
// (elements 0 to ButtonCount - 1 whose FunctionClass is 4), each once, in the
// order first met; at most five: a sixth distinct macro gets no block.
std::vector<std::uint16_t> DistinctMacroList(const TMOUSEPROFILEINFO& profile);

// The block (0 to 4) of a macro index in that list; -1 when it has none.
int MacroBlockOf(const std::vector<std::uint16_t>& list, std::uint16_t macroIndex);

// The number of button elements the encoders walk: ButtonCount, kept within
// the record's 15 elements.
int ButtonsInUse(const TMOUSEPROFILEINFO& profile);

} // namespace k4812
