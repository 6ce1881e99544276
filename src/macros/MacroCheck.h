#pragma once
// The consistency check of a macro's actions: every press has a release, no
// key is pressed twice in a row, and none is released while up.

#include "records/Records.h"

#include <span>

namespace k4812 {

// Counts the faults of `actions`. Keys (type 4), mouse buttons (type 1) and
// type 5 share one table of 65536 states indexed by the two value bytes
// (second × 256 + first); a key still down at the end counts once more,
// a mouse button or type 5 action left down does not.
int countMacroErrors(std::span<const TMACROKEY> actions);

} // namespace k4812
