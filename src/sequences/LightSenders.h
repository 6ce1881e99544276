#pragma once
// The two light operations that act at once, without an apply: showing the
// light being edited, and putting back the light of the last apply.

#include "wire/HidData.h"
#include "wire/LastActivatedProfile.h"
#include "sequences/Pauser.h"
#include "records/Records.h"

namespace k4812 {

// "Restore light" waits this long between writing the light and activating it.
constexpr int kPauseBeforeLightActivation = 50;

// Shows the profile's light at once: update mark begin, the light preview
// (colour, brightness, breathing speed), the wheel-light byte of the profile
// (0x03E), update mark end. Nothing is stored in a bank, nothing is
// activated and nothing waits. Every command is sent even when an earlier one
// failed; the first error is returned.
int PreviewLight(TuiHIDData& device, const TMOUSEPROFILEINFO& profile);

// Puts `savedLight` (the light in force at the last apply) back into the
// light block of the active mode's bank: bank 0 for `activeMode` 0, bank 1
// for any other value. Update mark begin, the 6-byte light block, a pause of
// 50 ms, the activation with `activation`, update mark end. Every command is
// sent even when an earlier one failed; the first error is returned.
int RestoreLight(TuiHIDData& device, Pauser& pauser, const TLEDCONFIG& savedLight, int activeMode,
                 LastActivatedProfile& activation);

} // namespace k4812
