#include "profiles/MacroButtonSweep.h"

#include "macros/MacroName.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"

#include <algorithm>
#include <cstring>

namespace k4812 {

void DisableMacroButton(TBUTTONFUNCINFO& element)
{
    element.MenuID = 0;
    element.FunctionIndex = kRowDisable;
    element.FunctionClass = kFunctionClassMedia;
    element.DeviceCode = DeviceCodeOfRow(kRowDisable).value_or(0x0E);
    element.MediaKeyInfo = THID_CODE_INFO{0, 0, 0};
}

int SweepMacroButtons(TMOUSEPROFILEINFO& profile)
{
    const int buttons = std::clamp<int>(profile.ConfigInfo.ButtonCount, 0, kButtonEntryCapacity);
    int changed = 0;
    for (int i = 0; i < buttons; ++i) {
        TBUTTONFUNCINFO element = profile.ConfigInfo.ButtonFuncInfo[i];
        if (element.FunctionIndex != kRowMacro)
            continue;
        const int k = FindMacroByName(profile, macroNameOf(element.MacroKeyInfo));
        if (k >= 0) {
            element.MacroKeyInfo = profile.MacroKeyInfoList.MacroInfos[k];
            element.MacroKeyInfo.nMacroIndex = std::uint16_t(k);
            element.MenuID = kMenuFirstMacro + k;
        } else {
            DisableMacroButton(element);
        }
        if (std::memcmp(&element, &profile.ConfigInfo.ButtonFuncInfo[i], sizeof element) != 0) {
            profile.ConfigInfo.ButtonFuncInfo[i] = element;
            ++changed;
        }
    }
    return changed;
}

} // namespace k4812
