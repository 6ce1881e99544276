#include "profiles/SavePrompt.h"

#include "profiles/ProfileManager.h"

namespace k4812 {

bool StoreOnSavePrompt(TDM& dm)
{
    // Every step runs, so that one store that fails does not keep the others unsaved.
    bool ok = dm.SaveBackAllProfileSettingInfo();
    // Each profile's file and registry value change together or not at all.
    ok = dm.SaveBackAllProfiles() && ok;
    return ok;
}

} // namespace k4812
