#pragma once
// The profiles, loaded while the toolkit starts. Opening the settings
// database, checking it and reading the five profiles takes 7-10 ms of the
// window's start; begun before the application object is made, it runs
// beside the toolkit's connection to the display. The single-instance lock
// is taken first, as the window's own start takes it, so a second copy
// loads nothing. A screenshot run (which may run beside a running copy), or
// a start that finds the lock held, begins nothing here: runProgram() then
// does it all in its usual order.

#include "platform/desktop/SingleInstanceLock.h"
#include "profiles/ProfileManager.h"

#include <QString>

#include <memory>

namespace k4812 {

struct ProfilesLoadedAhead {
    std::unique_ptr<SingleInstanceLock> lock; // held
    std::unique_ptr<TDM> dm;                  // null when the profiles could not be opened
    QString error;                            // then why
};

// In main(), before the application object, with main()'s arguments.
void startLoadingProfiles(int argc, char** argv);
// Waits for the load begun by startLoadingProfiles(); null when none was begun.
std::unique_ptr<ProfilesLoadedAhead> takeProfilesLoadedAhead();

} // namespace k4812
