#pragma once
// Turning a finished keyboard recording into the actions of a macro.
//
// Pauses become delay actions (or are dropped when delays are not
// recorded); a default delay, when asked for, replaces every recorded pause;
// no delay is shorter than 10 ms. A key entry that repeats the previous key
// action exactly (same key, extended flag and state) is dropped. A recording
// gives at most 127 actions, leaving room in the 128 entries of a record for
// what the mouse appends.

#include "app/macro/RecordingOptions.h"
#include "macros/HookRecords.h"
#include "records/Records.h"

#include <cstdint>
#include <vector>

namespace k4812 {

constexpr int kMaxRecordedActions = 127;
constexpr int kMinDelayMs = 10;
constexpr int kMaxDelayMs = 65535;
constexpr int kMaxLoopCount = 255;

// A delay in milliseconds as a delay action may hold it: 10 to 65535.
std::uint16_t clampDelayMs(long long milliseconds);

// The loop count a recording stores: the box's value when the option is on
// and the value is above 0 (at most 255), else 0.
std::uint16_t recordedLoopCount(const RecordingOptions& options);

// `base` (the selected macro's record) with the recording's actions, their
// count, the loop count and nAutoAddDelay; its name and everything else kept.
TMACROKEYINFO convertRecording(const TMACROKEYINFO& base, const std::vector<TMACROKEYHOOK>& recording,
                               const RecordingOptions& options);

} // namespace k4812
