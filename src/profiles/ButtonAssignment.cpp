#include "profiles/ButtonAssignment.h"

#include "wire/KeyCodeTable.h"
#include "macros/MacroName.h"
#include "profiles/ButtonFunctionTable.h"

#include <algorithm>
#include <set>

namespace k4812 {

namespace {

constexpr int kCountedMacroButtons = 10;   // elements 0 to 9 count towards the limit
constexpr std::uint16_t kKnownModifierBits = 0x0F;

bool isButton(int button)
{
    return button >= 0 && button < kButtonEntryCapacity;
}

bool isPrimary(int button)
{
    return button == 0 || button == 1;
}

// The common end of every assignment: the row's device code, and the element
// written back into the profile.
AssignmentOutcome store(TMOUSEPROFILEINFO& profile, int button, TBUTTONFUNCINFO element)
{
    element.DeviceCode = DeviceCodeOfRow(element.FunctionIndex).value_or(0);
    profile.ConfigInfo.ButtonFuncInfo[button] = element;
    return {};
}

AssignmentOutcome assignPrimary(TMOUSEPROFILEINFO& profile, int button, int menuId)
{
    if (menuId != kMenuClick && menuId != kMenuRightClick)
        return {AssignmentResult::NotOnThisButton};
    TBUTTONFUNCINFO element = profile.ConfigInfo.ButtonFuncInfo[button];
    element.FunctionClass = kFunctionClassMouse;
    element.FunctionIndex = std::uint16_t(FindFunctionRow(menuId));
    element.MenuID = menuId;
    AssignmentOutcome outcome = store(profile, button, element);
    if (element.FunctionIndex == kRowRightClick) {
        // Both primary buttons may click, but never both right-click.
        const int other = 1 - button;
        TBUTTONFUNCINFO& o = profile.ConfigInfo.ButtonFuncInfo[other];
        o.FunctionIndex = kRowClick;
        o.MenuID = kMenuClick;
        o.DeviceCode = 0x01;
        outcome.alsoChanged = other;
    }
    return outcome;
}

} // namespace

bool IsSendableKey(int virtualKey, int extendedFlag)
{
    const int usage = HidUsageOf(virtualKey, extendedFlag);
    return usage > 0 && usage <= 0xFF;
}

AssignmentOutcome AssignButtonFunction(TMOUSEPROFILEINFO& profile, int button, int menuId)
{
    if (!isButton(button))
        return {AssignmentResult::NoSuchButton};
    if (isPrimary(button))
        return assignPrimary(profile, button, menuId);

    TBUTTONFUNCINFO element = profile.ConfigInfo.ButtonFuncInfo[button];
    const int row = FindFunctionRow(menuId);
    if (menuId == kMenuSingleKey || menuId == kMenuComboKey || menuId == kMenuFireKey
        || (menuId >= kMenuMacroManager && menuId < kMenuFirstMacro + kMaxMacroMenuIndex + 1))
        return {AssignmentResult::NeedsValue};
    if (menuId >= 1 && menuId <= 5) {
        element.FunctionClass = kFunctionClassMouse;
    } else if (const ShortcutCombination* shortcut = ShortcutOfMenuId(menuId)) {
        element.ComboKeyInfo = TCOMBOKEYINFO{shortcut->virtualKey, 0, 0, 0, shortcut->modifier};
        element.FunctionClass = kFunctionClassCombo;
    } else if (const MediaKeyItem* media = MediaKeyOfMenuId(menuId)) {
        element.MediaKeyInfo = THID_CODE_INFO{media->usage, 0, 0};
        element.FunctionClass = kFunctionClassMedia;
    } else if (menuId >= 12 && menuId <= 14) {
        element.FunctionClass = kFunctionClassCpi;
    } else if (menuId == kMenuDisable) {
        element.MediaKeyInfo = THID_CODE_INFO{0, 0, 0};
        element.FunctionClass = kFunctionClassMedia;
    } else {
        return {AssignmentResult::UnknownChoice};
    }
    element.FunctionIndex = std::uint16_t(row);
    element.MenuID = menuId;
    return store(profile, button, element);
}

AssignmentOutcome AssignSingleKey(TMOUSEPROFILEINFO& profile, int button, const TSINGLEKEYINFO& key)
{
    if (!isButton(button))
        return {AssignmentResult::NoSuchButton};
    if (isPrimary(button))
        return {AssignmentResult::NotOnThisButton};
    if (!IsSendableKey(key.nKeyValue1, key.nKey1Extended))
        return {AssignmentResult::KeyNotSendable};
    TBUTTONFUNCINFO element = profile.ConfigInfo.ButtonFuncInfo[button];
    element.FunctionClass = kFunctionClassSingleKey;
    element.FunctionIndex = kRowSingleKey;
    element.SingleKeyInfo = key;
    element.MenuID = kMenuSingleKey;
    return store(profile, button, element);
}

AssignmentOutcome AssignComboKey(TMOUSEPROFILEINFO& profile, int button, const TCOMBOKEYINFO& combo)
{
    if (!isButton(button))
        return {AssignmentResult::NoSuchButton};
    if (isPrimary(button))
        return {AssignmentResult::NotOnThisButton};
    if ((combo.nModifier & ~kKnownModifierBits) != 0)
        return {AssignmentResult::BadValue};
    if (!IsSendableKey(combo.nKeyValue1, combo.nKey1Extended)
        || (combo.nKeyValue2 != 0 && !IsSendableKey(combo.nKeyValue2, combo.nKey2Extended)))
        return {AssignmentResult::KeyNotSendable};
    TBUTTONFUNCINFO element = profile.ConfigInfo.ButtonFuncInfo[button];
    element.FunctionClass = kFunctionClassCombo;
    element.FunctionIndex = kRowComboKey;
    element.ComboKeyInfo = combo;
    element.MenuID = kMenuComboKey;
    return store(profile, button, element);
}

TFIREKEYINFO FireKeyDialogInput(const TMOUSEPROFILEINFO& profile, int button)
{
    if (!isButton(button))
        return TFIREKEYINFO{0, 0};
    TFIREKEYINFO fire = profile.ConfigInfo.ButtonFuncInfo[button].FireKeyInfo;
    if (fire.DelyValue == 0) {
        fire.nLoopCount = std::uint16_t(profile.ConfigInfo.FireKeyCount);
        fire.DelyValue = std::uint16_t(profile.ConfigInfo.FireKeySpeed);
    }
    return fire;
}

AssignmentOutcome AssignFireKey(TMOUSEPROFILEINFO& profile, int button, const TFIREKEYINFO& fire)
{
    if (!isButton(button))
        return {AssignmentResult::NoSuchButton};
    if (isPrimary(button))
        return {AssignmentResult::NotOnThisButton};
    if (fire.nLoopCount < kFireCountMin || fire.nLoopCount > kFireCountMax || fire.DelyValue < kFireDelayMin
        || fire.DelyValue > kFireDelayMax)
        return {AssignmentResult::BadValue};
    TBUTTONFUNCINFO element = profile.ConfigInfo.ButtonFuncInfo[button];
    element.MenuID = kMenuFireKey;
    element.FunctionIndex = kRowFireKey;
    element.FunctionClass = kFunctionClassFire;
    element.FireKeyInfo = fire;
    return store(profile, button, element);
}

AssignmentOutcome AssignMacro(TMOUSEPROFILEINFO& profile, int button, int macroIndex)
{
    if (!isButton(button))
        return {AssignmentResult::NoSuchButton};
    if (isPrimary(button))
        return {AssignmentResult::NotOnThisButton};
    const int count = profile.MacroKeyInfoList.nMacroInfoCount;
    if (macroIndex < 0 || macroIndex >= count || macroIndex >= kMacroListCapacity || macroIndex > kMaxMacroMenuIndex)
        return {AssignmentResult::NoSuchMacro};

    const TBUTTONFUNCINFO backup = profile.ConfigInfo.ButtonFuncInfo[button];
    TBUTTONFUNCINFO element = backup;
    element.MenuID = kMenuFirstMacro + macroIndex;
    element.FunctionIndex = std::uint16_t(FindFunctionRow(kMenuMacro));
    element.FunctionClass = kFunctionClassMacro;
    element.MacroKeyInfo = profile.MacroKeyInfoList.MacroInfos[macroIndex];
    element.MacroKeyInfo.nMacroIndex = std::uint16_t(macroIndex);
    store(profile, button, element);
    if (CountAssignedMacros(profile) > kMaxAssignedMacros) {
        profile.ConfigInfo.ButtonFuncInfo[button] = backup;
        return {AssignmentResult::TooManyMacros};
    }
    return {};
}

int CountAssignedMacros(const TMOUSEPROFILEINFO& profile)
{
    std::set<std::uint16_t> distinct;
    for (int i = 0; i < kCountedMacroButtons; ++i) {
        const TBUTTONFUNCINFO& e = profile.ConfigInfo.ButtonFuncInfo[i];
        if (e.FunctionClass == kFunctionClassMacro)
            distinct.insert(e.MacroKeyInfo.nMacroIndex);
    }
    return int(distinct.size());
}

int FindMacroByName(const TMOUSEPROFILEINFO& profile, const QString& name)
{
    const int count = std::min<int>(profile.MacroKeyInfoList.nMacroInfoCount, kMacroListCapacity);
    for (int i = 0; i < count; ++i) {
        if (macroNameOf(profile.MacroKeyInfoList.MacroInfos[i]) == name)
            return i;
    }
    return -1;
}

} // namespace k4812
