#pragma once
// The three assignment menus of the main window's button column, built from
// the core's tables so that every item's identifier is the MenuID the
// profile stores:
//   uiMenuEx1         entries 3-7: sixteen items, "Basic" (801-808),
//                     "Advanced" (901-906), "Media" (1001-1007) and "Macro"
//                     (1101 "Macro Manager", then one item per macro);
//   uiMenuExLRBUTTON  entries 1 and 2: "Click" 1, "Right Click" 2;
//   uiMenuEx2         the wheel entries: "Wheel Up" 1 ... "Forward" 6.

#include "records/Records.h"

#include <QColor>

namespace k4812 {

class TuiMenuEx;

// The check fills: amber for the button menus, yellow for the wheel menu.
inline const QColor kButtonMenuCheckFill = QColor::fromRgba(0xFFFBD91E);
inline const QColor kWheelMenuCheckFill = QColor::fromRgba(0xFFF5ED05);

// The index of the "Macro" item (identifier 11) in uiMenuEx1's top level.
constexpr int kMacroItemIndex = 10;
// The widest item of the Macro sub-menu: a macro name may have 50
// characters, which would make the list wider than the window.
constexpr int kMacroMenuMaxItemWidth = 320;

void BuildButtonMenu(TuiMenuEx& menu);
void BuildPrimaryButtonMenu(TuiMenuEx& menu);
void BuildWheelMenu(TuiMenuEx& menu);

// Refills the sub-items of uiMenuEx1's "Macro" item from `list`: "Macro
// Manager" (1101), then "Macro<name>" for each macro (1102, 1103, ...). The
// "Macro" word is translated now, since the name after it must stay as it is.
// The sub-list's items are at most kMacroMenuMaxItemWidth wide (ItemSetMaxSize).
void RebuildMacroMenu(TuiMenuEx& menu, const TMACROKEYINFOLIST& list);

} // namespace k4812
