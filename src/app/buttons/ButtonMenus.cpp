#include "app/buttons/ButtonMenus.h"

#include "i18n/Translation.h"
#include "macros/MacroName.h"
#include "profiles/ButtonEntryTexts.h"
#include "profiles/ButtonFunctionTable.h"
#include "ui/menu/TuiMenuEx.h"

#include <algorithm>

namespace k4812 {

namespace {

constexpr int kButtonMenuTopItems = 16;
// The sub-items of Basic (8), Advanced (9) and Media (10).
constexpr int kFixedSubMenus[] = {kMenuBasic, kMenuAdvanced, kMenuMedia};
constexpr int kWheelMenuItems = 6;

void styleMenu(TuiMenuEx& menu, const QColor& checkFill, const char* title)
{
    menu.Parameters.ItemHeight = 30;
    menu.Parameters.BGMargins = QMargins(4, 4, 4, 4);
    menu.Parameters.ItemFontFill = Qt::white;
    menu.Parameters.ItemCheckFill = checkFill;
    menu.Title = QString::fromLatin1(title);
}

} // namespace

void BuildButtonMenu(TuiMenuEx& menu)
{
    styleMenu(menu, kButtonMenuCheckFill, "Button Assignment");
    TuiMenuItemsEx& items = menu.Items();
    items.Clear();
    for (int id = 1; id <= kButtonMenuTopItems; ++id)
        items.Add(QString::fromLatin1(ButtonMenuCaption(id)));
    for (int parent : kFixedSubMenus) {
        TuiMenuItemsEx& sub = items[parent - 1].SubItems();
        for (int n = 1; const char* caption = ButtonMenuCaption(parent * 100 + n); ++n)
            sub.Add(QString::fromLatin1(caption));
    }
    items[kMacroItemIndex].SubItems().Add(QStringLiteral("Macro Manager"));
}

void BuildPrimaryButtonMenu(TuiMenuEx& menu)
{
    styleMenu(menu, kButtonMenuCheckFill, "Button Assignment");
    TuiMenuItemsEx& items = menu.Items();
    items.Clear();
    items.Add(QString::fromLatin1(ButtonMenuCaption(kMenuClick)));
    items.Add(QString::fromLatin1(ButtonMenuCaption(kMenuRightClick)));
}

void BuildWheelMenu(TuiMenuEx& menu)
{
    styleMenu(menu, kWheelMenuCheckFill, "Button Assignment");
    TuiMenuItemsEx& items = menu.Items();
    items.Clear();
    for (int id = 1; id <= kWheelMenuItems; ++id)
        items.Add(QString::fromLatin1(WheelMenuCaption(id)));
}

void RebuildMacroMenu(TuiMenuEx& menu, const TMACROKEYINFOLIST& list)
{
    TuiMenuItemsEx& items = menu.Items();
    if (items.Count() <= kMacroItemIndex)
        return;
    TuiMenuItemsEx& sub = items[kMacroItemIndex].SubItems();
    sub.Clear();
    sub.ItemSetMaxSize(kMacroMenuMaxItemWidth);
    sub.Add(QStringLiteral("Macro Manager"));
    const int count = std::clamp<int>(list.nMacroInfoCount, 0, kMacroListCapacity);
    const QString word = translate(QStringLiteral("Macro"));
    for (int k = 0; k < count; ++k)
        sub.Add(word + QLatin1Char('<') + macroNameOf(list.MacroInfos[k]) + QLatin1Char('>'));
}

} // namespace k4812
