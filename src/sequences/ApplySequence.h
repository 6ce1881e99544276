#pragma once
// The apply sequence: what the window's Apply and OK buttons (and
// `k4812ctl apply`) do. It stores every profile, starts the desktop's pointer
// settings on a worker, and writes the two profiles bound to the mouse's
// modes into the mouse's two banks, with the report rate, the active mode,
// the wheel light and an activation, bracketed by update marks and spaced by
// fixed pauses (500 ms in all) that the mouse relies on.
//
// The command order and the pauses are fixed; every command is sent even
// when an earlier one failed (the mouse may rely on the framing), but the
// first failed write is remembered, shown as a warning and reported: a mouse
// that did not take the settings is never reported as written. Reading the
// mouse's active CPI level back writes nothing: when it fails, level 1
// becomes active and the host is told in a note.

#include "sequences/ApplySteps.h"
#include "sequences/ApplyVerification.h"
#include "sequences/CpiReadBack.h"
#include "wire/DeviceByte.h"
#include "wire/HidData.h"
#include "sequences/MainWindowState.h"
#include "sequences/SequenceHost.h"
#include "profiles/ProfileManager.h"
#include "records/Records.h"

#include <optional>
#include <vector>

namespace k4812 {

// The fixed pauses besides those of the CPI read-back (100 and 50 ms).
constexpr int kPauseBeforeUpload = 100;       // before each bank's upload
constexpr int kPauseAroundActivation = 50;    // before and after the activation
constexpr int kPauseAfterUpdateEnd = 50;

// The English source texts of the warnings (shown translated).
inline constexpr const char* kApplyWarningTitle = "Warning";
inline constexpr const char* kApplyNoMouseText = "    Please connect your mouse device before apply new settings!";
inline constexpr const char* kApplyFailedText = "The settings could not all be written to the mouse. Failed step: %1";
inline constexpr const char* kApplyDamagedProfileText =
    "Profile %1 holds a value that cannot be sent to the mouse; nothing was written. %2";
inline constexpr const char* kApplyNotKeptText = "The mouse did not keep these settings: %1";
inline constexpr const char* kApplyNotVerifiedText =
    "The settings were written, but the mouse could not be read back to check them.";
inline constexpr const char* kApplyCpiNotReadText =
    "The mouse's active CPI level could not be read; level 1 is now active.";
inline constexpr const char* kApplyPointerSettingsText = "The desktop did not take these pointer settings: %1.";

struct ApplyReport {
    // Why nothing was stored or sent: a bound profile holds a value the
    // program never stores (names the profile and the field); else empty.
    QString refusal;
    bool mousePresent = false;
    // Every step sent, in order, with its outcome.
    std::vector<ApplyStepResult> steps;
    // What reading the active CPI level back gave (0 or an errno value;
    // ERANGE: the mouse named a level it does not hold).
    int cpiReadBackError = 0;
    // The active level stored into the current profile, and whether it is the
    // mouse's own (false: level 0, because the read failed or named a level
    // the profile does not have in use).
    int currentCpiIndex = 0;
    bool cpiIndexFromMouse = false;
    // The read itself failed (not a mouse that named a level it does not hold).
    bool cpiLevelUnread() const { return cpiReadBackError != 0 && cpiReadBackError != kErrorNoSuchLevel; }
    // Values the encoders had to change to fit the mouse's bytes.
    EncodingNotes notes;
    // UM_DEVICE_SETTINGS_CHANGED to the monitor (NoWindow: no monitor runs).
    SendResult monitor;

    // The read-back after the sequence (when it ran: verification on and
    // every write taken).
    std::optional<ApplyVerification> verification;

    std::optional<ApplyStepResult> firstFailure() const { return firstFailedStep(steps); }
    bool succeeded() const
    {
        return mousePresent && !firstFailure() && (!verification || verification->kept());
    }
};

struct ApplyOptions {
    // Read back and compare what was written once the sequence has ended;
    // unset: as config.ini says ([Options] VerifyAfterApply, on by default).
    std::optional<bool> verify;
};

// Stores everything as the apply does before it talks to the mouse: the
// working copy into the current store, all five profiles to their files and
// the registry (each profile's file and value change together or not at
// all), and the profile-group record. StorageError is thrown on a failure of
// the storage.
void StoreAllProfiles(TDM& dm);

// Writes one profile into bank 0 or 1: pause 100 ms, encode, then the button
// block, the macro blocks, the light block and the CPI block. Appends one
// result per block group to `steps` (and tells the host).
void UploadProfile(TuiHIDData& device, SequenceHost& host, const TMOUSEPROFILEINFO& profile, int bank,
                   std::vector<ApplyStepResult>& steps, EncodingNotes* notes = nullptr);

// Why the profile bound to one of the modes cannot be sent to the mouse
// ("Profile N: field ..."), or an empty text.
QString boundProfilesProblem(TDM& dm);

// The warning for the pointer settings the desktop did not take, translated
// ("The desktop did not take these pointer settings: pointer speed,
// acceleration."); empty when there are none.
QString pointerSettingsNotTakenText(const SystemMouseParamsResult& result);
// The back end's reasons for them, one line each ("pointer speed: ..."),
// translated up to the reason itself, which the back end gives in English.
QString pointerSettingsNotTakenReasons(const SystemMouseParamsResult& result);

// The whole apply sequence. A bound profile that holds a value the program
// never stores (profileRecordProblem) is refused first: a warning names the
// profile and the field, nothing is stored or sent, false. True when the mouse was present and took every
// write (a failed CPI read-back makes level 1 active and is shown as a note). With the mouse absent: the profiles are stored, SettingsChanged is
// cleared, the pointer settings are started, the warning is shown, nothing is
// sent, false. When a command fails the sequence still runs to its end, then
// shows a warning naming the first failed step and returns false;
// FPreSavedLedConfig is set only after a successful apply. StorageError from
// storing the profiles is thrown before anything else happens (SettingsChanged
// stays set). With verification on and every write taken, the written
// blocks are then read back (after the sequence's last pause, which it does
// not change; the read pause is left to the mouse's next command) and
// compared (ApplyVerification.h); a block the mouse did not
// keep, or a read-back that fails, is a failure shown like a failed write.
bool ApplySettings(TDM& dm, TuiHIDData& device, MainWindowState& state, SequenceHost& host,
                   ApplyReport* report = nullptr, const ApplyOptions& options = {});

} // namespace k4812
