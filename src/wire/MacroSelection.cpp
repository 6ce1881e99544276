#include "wire/MacroSelection.h"

#include <algorithm>

namespace k4812 {

int ButtonsInUse(const TMOUSEPROFILEINFO& profile)
{
    return std::clamp(int(profile.ConfigInfo.ButtonCount), 0, kButtonEntryCapacity);
}

std::vector<std::uint16_t> DistinctMacroList(const TMOUSEPROFILEINFO& profile)
{
    std::vector<std::uint16_t> list;
    const int buttons = ButtonsInUse(profile);
    for (int i = 0; i < buttons && int(list.size()) < kMacroBlockCount; ++i) {
        const TBUTTONFUNCINFO& element = profile.ConfigInfo.ButtonFuncInfo[i];
        if (element.FunctionClass != kFunctionClassMacro)
            continue;
        const std::uint16_t index = element.MacroKeyInfo.nMacroIndex;
        if (std::find(list.begin(), list.end(), index) == list.end())
            list.push_back(index);
    }
    return list;
}

int MacroBlockOf(const std::vector<std::uint16_t>& list, std::uint16_t macroIndex)
{
    const auto found = std::find(list.begin(), list.end(), macroIndex);
    return found == list.end() ? -1 : int(found - list.begin());
}

} // namespace k4812
