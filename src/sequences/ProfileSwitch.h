#pragma once
// The profile buttons ("PROFILE1" to "PROFILE5") and the mode buttons
// ("Mode 1", "Mode 2") without their window: the change of the current
// profile or mode in the profile manager, its storage, the commands that
// tell the mouse, the "ProfileID" registry value, and the message to the
// monitor program. The window refreshes its pages in
// SequenceHost::currentProfileChanged.
//
// The mouse's commands are sent whether or not it answers (every command of
// the group, so the group always ends with its update mark); the first
// failure is reported, never hidden.

#include "wire/HidData.h"
#include "sequences/MainWindowState.h"
#include "sequences/SequenceHost.h"
#include "profiles/ProfileManager.h"

#include <QString>

namespace k4812 {

class Registry;

// The pauses of the two groups of commands.
constexpr int kPauseInSwitchGroup = 50;
constexpr int kPauseAfterSwitchGroup = 100;   // profile button; the mode button waits 50
constexpr int kPauseAfterModeGroup = 50;
constexpr int kPauseAfterMonitorMessage = 100;

// The registry value (below the profiles' key) that tells other programs the
// profile last chosen with a profile button.
inline constexpr const char* kProfileIdValueName = "ProfileID";

struct SwitchReport {
    // False when nothing was done: an index out of range, or a mode that was
    // already active.
    bool switched = false;
    int commandsSent = 0;
    int firstError = 0;          // errno value of the first command that failed
    bool profileIdWritten = false;
    QString profileIdError;      // the registry could not take "ProfileID"
    SendResult monitor;          // the message to the monitor (NoWindow: none runs)

    bool succeeded() const { return switched && firstError == 0 && profileIdError.isEmpty(); }
};

// Writes "ProfileID" = profileIndex under HKEY_CURRENT_USER\software\ZOZozadOdediv4812,
// only when that key exists (it is opened, never created). True when written.
// Throws StorageError when the registry cannot be written.
bool WriteProfileIdValue(Registry& registry, int profileIndex);

// A profile button (profile 0 to 4): the profile becomes current and is bound
// to the active mode (both stored in the registry), the pointer settings and
// the light for "Restore light" follow it; the mouse gets the selection byte
// and an activation carrying the profile (which becomes LastActivatedProfile),
// "ProfileID" is written, and 7035 (1, profile) is posted to the monitor.
// True when the switch was made and the mouse took every command.
// StorageError from storing the choice is thrown before anything is sent,
// with the profile manager, the state and the registry as they were.
bool SwitchProfile(TDM& dm, TuiHIDData& device, MainWindowState& state, SequenceHost& host, int profileIndex,
                   SwitchReport* report = nullptr);

// A mode button (mode 0 or 1). Nothing happens when the mode is active
// already. Otherwise the mode's bound profile becomes current, the mode is
// stored, the pointer settings and the light for "Restore light" follow the
// new profile, the mouse gets the selection byte and the activation (1, 1),
// and 7035 (0, 0) is sent to the monitor. True when the switch was made and
// the mouse took every command. StorageError is thrown before anything is sent.
bool SwitchMode(TDM& dm, TuiHIDData& device, MainWindowState& state, SequenceHost& host, int modeIndex,
                SwitchReport* report = nullptr);

} // namespace k4812
