#pragma once
// Macros in a profile's macro list and on its buttons, as the macro manager
// and the button assignment leave them.

#include "records/Records.h"

#include <QString>

#include <algorithm>
#include <initializer_list>

namespace k4812::test {

inline TMACROKEY macroKey(int type, int state, int value1, int value2)
{
    return TMACROKEY{std::uint16_t(type), std::uint16_t(state), std::uint8_t(value1), std::uint8_t(value2)};
}

inline TMACROKEY keyDown(int vk, int extended = 0) { return macroKey(4, 1, vk, extended); }
inline TMACROKEY keyUp(int vk, int extended = 0) { return macroKey(4, 0, vk, extended); }
inline TMACROKEY delayMs(int ms) { return macroKey(6, 0, ms & 0xFF, ms >> 8); }

// Puts a macro at position `position` of the profile's list (its nMacroIndex
// is that position) and makes the list at least that long.
inline TMACROKEYINFO& putMacro(TMOUSEPROFILEINFO& profile, int position, std::initializer_list<TMACROKEY> actions,
                               int loops = 0)
{
    TMACROKEYINFO& m = profile.MacroKeyInfoList.MacroInfos[position];
    int j = 0;
    for (const TMACROKEY& a : actions)
        m.MacroList[j++] = a;
    m.MacroListCount = j;
    m.nLoopCount = std::uint16_t(loops);
    m.nMacroIndex = std::uint16_t(position);
    m.szMacroName.assign(QStringLiteral("Macro%1").arg(position));
    TMACROKEYINFOLIST& list = profile.MacroKeyInfoList;
    list.nMacroInfoCount = std::uint16_t(std::max(int(list.nMacroInfoCount), position + 1));
    return m;
}

// Assigns macro `position` of the list to window button `button` (0 to 6).
inline void assignMacro(TMOUSEPROFILEINFO& profile, int button, int position)
{
    TBUTTONFUNCINFO& e = profile.ConfigInfo.ButtonFuncInfo[button];
    e.MacroKeyInfo = profile.MacroKeyInfoList.MacroInfos[position];
    e.MacroKeyInfo.nMacroIndex = std::uint16_t(position);
    e.FunctionClass = kFunctionClassMacro;
    e.FunctionIndex = 28;
    e.DeviceCode = 0x11;
    e.MenuID = 1102 + position;
}

} // namespace k4812::test
