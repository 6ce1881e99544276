#include "profiles/ButtonEntryTexts.h"

#include "wire/KeyCodeTable.h"
#include "i18n/Translation.h"
#include "profiles/ButtonFunctionTable.h"

#include <array>

namespace k4812 {

namespace {

constexpr std::array<const char*, 6> kWheelCaptions{"Wheel Up", "Wheel Down", "Volume +",
                                                    "Volume -", "Backward", "Forward"};

QString tr(const char* text)
{
    return translate(QString::fromUtf8(text));
}

bool isButton(int index)
{
    return index >= 0 && index < kButtonEntryCapacity;
}

QString label(const TMOUSEPROFILEINFO& profile, int index, int id)
{
    if (id <= 0 || id >= 10000)
        return QString(); // no item of the menu has a third level
    if (id == kMenuSingleKey) {
        const QString key = SingleKeyText(profile, index);
        if (!key.isEmpty())
            return key;
    }
    if (id == kMenuComboKey) {
        const QString combo = ComboKeyText(profile, index);
        if (combo.size() > kComboTextMaxShown)
            return combo.left(9) + QStringLiteral("...");
        if (!combo.isEmpty())
            return combo;
    }
    return ButtonMenuItemText(profile, id);
}

} // namespace

const char* WheelMenuCaption(int id)
{
    if (id < 1 || id > int(kWheelCaptions.size()))
        return nullptr;
    return kWheelCaptions[std::size_t(id - 1)];
}

QString ButtonMenuItemText(const TMOUSEPROFILEINFO& profile, int id)
{
    if (id == kMenuMacroManager)
        return tr("Macro Manager");
    if (id > kMenuMacroManager && id < (kMenuMacro + 1) * 100) {
        const int k = id - kMenuFirstMacro;
        const int count = profile.MacroKeyInfoList.nMacroInfoCount;
        if (k < 0 || k >= count || k >= kMacroListCapacity)
            return QString();
        const QString name = profile.MacroKeyInfoList.MacroInfos[k].szMacroName.toString();
        return tr("Macro") + QLatin1Char('<') + name + QLatin1Char('>');
    }
    const char* caption = ButtonMenuCaption(id);
    return caption ? tr(caption) : QString();
}

QString SingleKeyText(const TMOUSEPROFILEINFO& profile, int index)
{
    if (!isButton(index))
        return QString();
    const TBUTTONFUNCINFO& e = profile.ConfigInfo.ButtonFuncInfo[index];
    if (e.FunctionIndex != kRowSingleKey)
        return QString();
    const TSINGLEKEYINFO key = e.SingleKeyInfo;
    const QString name = KeyNameOf(key.nKeyValue1, key.nKey1Extended);
    return QLatin1Char('<') + name + QLatin1Char('>');
}

QString ComboKeyText(const TMOUSEPROFILEINFO& profile, int index)
{
    if (!isButton(index))
        return QString();
    const TBUTTONFUNCINFO& e = profile.ConfigInfo.ButtonFuncInfo[index];
    if (e.FunctionIndex != kRowComboKey)
        return QString();
    const TCOMBOKEYINFO combo = e.ComboKeyInfo;
    const QString k1 = combo.nKeyValue1 != 0 ? KeyNameOf(combo.nKeyValue1, combo.nKey1Extended) : QString();
    const QString k2 = combo.nKeyValue2 != 0 ? KeyNameOf(combo.nKeyValue2, combo.nKey2Extended) : QString();
    QString text = k1.isEmpty() ? QString() : ModifierText(combo.nModifier) + k1;
    if (!k2.isEmpty())
        text = QLatin1Char('<') + text + QLatin1Char('+') + k2 + QLatin1Char('>');
    return text;
}

int ShownMenuId(const TBUTTONFUNCINFO& element)
{
    const int menuId = element.MenuID;
    return menuId != 0 ? menuId : MenuIdOfRow(element.FunctionIndex);
}

QString ButtonEntryText(const TMOUSEPROFILEINFO& profile, int index, int id)
{
    return QString::number(index + 1) + QLatin1Char('.') + label(profile, index, id);
}

QString WheelEntryText(int index, int id)
{
    const char* caption = WheelMenuCaption(id);
    return QString::number(index + 8) + QLatin1Char('.') + (caption ? tr(caption) : QString());
}

QString ButtonEntryText(const TMOUSEPROFILEINFO& profile, int index)
{
    if (!isButton(index))
        return QString();
    return ButtonEntryText(profile, index, ShownMenuId(profile.ConfigInfo.ButtonFuncInfo[index]));
}

QString WheelEntryText(const TMOUSEPROFILEINFO& profile, int index)
{
    if (index < 0 || index >= kWheelEntryCount)
        return QString();
    const TBUTTONFUNCINFO& e = profile.ConfigInfo.VWheelButtonFuncInfo[index];
    const int menuId = e.MenuID;
    // The wheel menu's items are numbered 1-6 and FunctionIndex is item - 1.
    return WheelEntryText(index, menuId != 0 ? menuId : e.FunctionIndex + 1);
}

QString ButtonEntryHint(const TMOUSEPROFILEINFO& profile, int index)
{
    if (!isButton(index))
        return QString();
    const int row = profile.ConfigInfo.ButtonFuncInfo[index].FunctionIndex;
    if (row == kRowSingleKey)
        return tr("Single Key") + QStringLiteral(": ") + SingleKeyText(profile, index);
    if (row == kRowComboKey)
        return tr("Combo Key") + QStringLiteral(": ") + ComboKeyText(profile, index);
    return QString();
}

} // namespace k4812
