#pragma once
// Building macro records for the macro tests.

#include "macros/MacroAction.h"
#include "macros/MacroName.h"
#include "records/RecordBytes.h"
#include "records/Records.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

namespace k4812::test {

inline TMACROKEYINFO makeMacro(const QString& name, std::initializer_list<TMACROKEY> actions = {})
{
    TMACROKEYINFO macro;
    std::memset(&macro, 0, sizeof macro);
    setMacroName(macro, name);
    int i = 0;
    for (const TMACROKEY& action : actions)
        macro.MacroList[i++] = action;
    macro.MacroListCount = i;
    return macro;
}

inline std::unique_ptr<TMACROKEYINFOLIST> makeMacroList(std::initializer_list<TMACROKEYINFO> macros)
{
    auto list = makeZeroRecord<TMACROKEYINFOLIST>();
    int i = 0;
    for (const TMACROKEYINFO& macro : macros) {
        list->MacroInfos[i] = macro;
        list->MacroInfos[i].nMacroIndex = std::uint16_t(i);
        ++i;
    }
    list->nMacroInfoCount = std::uint16_t(i);
    return list;
}

// Distinct, easily told apart actions: key i down.
inline TMACROKEY keyDown(int vk, int extended = 0)
{
    return makeKeyAction(kMacroKeyDown, std::uint8_t(vk), std::uint8_t(extended));
}
inline TMACROKEY keyUp(int vk, int extended = 0)
{
    return makeKeyAction(kMacroKeyUp, std::uint8_t(vk), std::uint8_t(extended));
}

inline bool sameAction(const TMACROKEY& a, const TMACROKEY& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The virtual-key codes of a sequence of key actions, for readable comparisons.
inline std::vector<int> keysOf(const std::vector<TMACROKEY>& actions)
{
    std::vector<int> keys;
    for (const TMACROKEY& a : actions)
        keys.push_back(a.VALUE1);
    return keys;
}

inline std::vector<int> keysOf(const TMACROKEYINFO& macro, int count)
{
    return keysOf(std::vector<TMACROKEY>(macro.MacroList, macro.MacroList + count));
}

} // namespace k4812::test
