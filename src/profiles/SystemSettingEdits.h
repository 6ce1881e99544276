#pragma once
// The edits of the System Setting page on a profile record: double-click
// time, pointer speed, "Enhance pointer precision" and the wheel's scroll
// lines. The caller writes the profile back; the desktop receives the
// settings through the pending action (PendingSystemAction.h) and the apply.

#include "records/Records.h"

namespace k4812 {

// The double-click track runs from 200 to 900 in steps of 10 and is reversed:
// the stored time is 1100 minus its value, so its right end is the shortest
// time (200 ms) and its left end the longest (900 ms).
constexpr int kDoubleClickTrackMin = 200;
constexpr int kDoubleClickTrackMax = 900;
constexpr int kDoubleClickTrackStep = 10;
constexpr int kDoubleClickTrackMirror = 1100;

// Scroll lines per wheel notch on the track; "Scroll for one page" is stored
// and applied as 20 lines, and any stored value of 20 or more shows as it.
constexpr int kScrollLinesMin = 1;
constexpr int kScrollLinesMax = 10;
constexpr int kScrollOnePageLines = 20;

// The double-click time in milliseconds for a track value, and the track
// value that shows a time (the track itself rounds to its step and clamps).
constexpr int DoubleClickTimeOfTrack(int trackValue) { return kDoubleClickTrackMirror - trackValue; }
constexpr int DoubleClickTrackOf(int milliseconds) { return kDoubleClickTrackMirror - milliseconds; }

// Whether the stored wheel lines show as "Scroll for one page".
constexpr bool IsScrollOnePage(int lines) { return lines >= kScrollOnePageLines; }

// DoubleClickSpeed := 1100 - trackValue. False, nothing changed, for a track
// value outside 200 to 900.
bool SetDoubleClickTrack(TMOUSEPROFILEINFO& profile, int trackValue);

// PointerSpeed, 1 to 20; false, nothing changed, outside.
bool SetPointerSpeed(TMOUSEPROFILEINFO& profile, int speed);

// "Enhance pointer precision": PointerAcceleration 1 or 0.
void SetPointerPrecision(TMOUSEPROFILEINFO& profile, bool enhance);

// VWheelSpeed from the scroll track, 1 to 10; false, nothing changed, outside.
bool SetScrollLines(TMOUSEPROFILEINFO& profile, int lines);

// "Scroll for one page": VWheelSpeed 20.
void SetScrollOnePage(TMOUSEPROFILEINFO& profile);

} // namespace k4812
