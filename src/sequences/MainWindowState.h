#pragma once
// The main window's state that the apply sequence and the profile and mode
// buttons read and change: the unsaved-edits flag, the pointer settings the
// apply hands to its worker, and the activation bytes.

#include "wire/LastActivatedProfile.h"
#include "records/Records.h"
#include "profiles/SystemMouseParams.h"

namespace k4812 {

struct MainWindowState {
    bool SettingsChanged = false;
    TSYSTEMMOUSEPARAMS SystemMouseParams{};
    LastActivatedProfile Activation{};
};

// SystemMouseParams as the window holds them once it shows a profile (at
// start and after a profile switch): PointerSpeed, VWheelSpeed and
// PointerAcceleration of the profile, the speed kept within 1 to 20 as the
// System Setting page's track bar keeps it.
TSYSTEMMOUSEPARAMS SystemMouseParamsOf(const TMOUSEPROFILEINFO& profile);

} // namespace k4812
