#pragma once
// Keeping the buttons' macros in step with the profile's macro list after the
// macro manager has reordered, renamed or deleted macros.
//
// A button holds a copy of its macro and the macro's position; the copy's
// name is what still identifies it. Every button whose function is a macro
// is matched again by that name: found, it takes the list's macro and its new
// position (MenuID 1102 + position); gone, the button becomes Disable.

#include "records/Records.h"

namespace k4812 {

// Turns a button element into Disable as a vanished macro leaves it
// (MenuID 0, which shows as "Disable" through its function row).
void DisableMacroButton(TBUTTONFUNCINFO& element);

// Matches buttons 0 to ButtonCount - 1 (at most the 15 elements) again by
// their macro's name. Returns how many elements changed.
int SweepMacroButtons(TMOUSEPROFILEINFO& profile);

} // namespace k4812
