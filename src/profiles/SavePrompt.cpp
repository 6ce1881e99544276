#include "profiles/SavePrompt.h"

#include "profiles/ProfileManager.h"

namespace k4812 {

bool StoreOnSavePrompt(TDM& dm)
{
    // Every step runs, so that one store that fails does not keep the others unsaved.
    bool ok = dm.SaveBackAllProfileSettingInfo();
    ok = dm.SaveCurrentProfileInfoToRegistry() && ok;
    ok = dm.SaveBackAllProfileInfo() && ok;
    ok = dm.SaveBackAllProfileInfoToFile() && ok;
    return ok;
}

} // namespace k4812
