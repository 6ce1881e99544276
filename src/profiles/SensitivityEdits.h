#pragma once
// The edits of the Sensitivity page on a profile record, shared by the
// window and the command line: the X and Y value of a CPI level, the number
// of levels in use and the "different X/Y" option. The caller writes the
// profile back (TDM::SaveBackToCurrentProfileInfo).
//
// CPIState holds the values as the user set them; HWCPIState is kept in
// step with them, each level snapped to the sensor's nearest step.

#include "records/Records.h"

namespace k4812 {

constexpr int kCpiLevelsShown = 4;     // levels 0 to 3 are edited
constexpr int kCpiValueMin = 100;
constexpr int kCpiValueMax = 3500;

enum class CpiAxis { X, Y };

// Whether `value` is a CPI the page accepts (100 to 3500).
bool IsCpiValueInRange(int value);

// A change of the X or Y box of `level` (0 to 3) to `value`. With
// ApplyDiffirentXY set only that axis changes; otherwise both take the
// value. The level's HWCPIState becomes SnapCpi(max(X, Y)) on both axes,
// with the level's Enabled; then the levels in use are made the first ones
// (NormalizeCpiLevels). False, nothing changed, for a level outside 0 to 3
// or a value outside 100 to 3500.
bool ChangeCpiValue(TMOUSEPROFILEINFO& profile, int level, CpiAxis axis, int value);

// The number of levels in use, 1 to 4: levels below `count` are enabled,
// the others disabled (their values stay), in both arrays. CPILevel, the
// count the mouse receives, becomes `count` too. False, nothing changed,
// outside 1 to 4.
bool SetCpiLevelCount(TMOUSEPROFILEINFO& profile, int count);

// What the page does when it shows a profile: n = the levels 0 to 3 whose
// Enabled is 1; levels below n become enabled and the others disabled, in
// both arrays. Returns n.
int NormalizeCpiLevels(TMOUSEPROFILEINFO& profile);

// "Diffirent X/Y setting": ApplyDiffirentXY 1 or 0.
void SetDifferentXY(TMOUSEPROFILEINFO& profile, bool different);

} // namespace k4812
