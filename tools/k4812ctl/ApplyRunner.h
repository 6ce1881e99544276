#pragma once
// `k4812ctl apply`, and `set ... --apply`: the window's Apply button on the
// command line, against the device of --device (real or emulated).

#include "sequences/ApplySequence.h"
#include "Cli.h"

#include "profiles/ProfileManager.h"

#include <cstdint>

namespace k4812::cli {

// Runs the apply sequence with the profile manager `dm`: stores every
// profile, starts the desktop's pointer settings (the back end of
// K4812_POINTER_SETTINGS) and waits for them, writes both modes' profiles
// into the mouse, printing a line per step and the warning (in the stored
// interface language) on err(). `lastActivatedProfile` is the activation's
// second byte (0 to 4). kExitOk when the mouse took every command;
// kExitFailure when it is absent, a command failed, or storing failed.
// `options` turns the read-back after the sequence on or off (unset: as
// config.ini says).
int runApply(Context& context, TDM& dm, std::uint8_t lastActivatedProfile = 0, const ApplyOptions& options = {});

} // namespace k4812::cli
