#pragma once
// What the nine button-set entries of the main window read, in the shown
// language: "3.Middle Button", "5.<Ctrl+Shi...", "8.Wheel Up". Entries 1 to 7
// show ButtonFuncInfo[0..6] with the captions of the button menu, entries 8
// and 9 the two wheel directions with the captions of the wheel menu.
//
// The window (RefreshButtonTexts) and the tests share these pure functions;
// every caption passes through translate() when it is asked for, so a
// language switch only needs the texts asked for again.

#include "records/Records.h"

#include <QString>

namespace k4812 {

// Entries on screen: seven buttons and the two wheel directions.
constexpr int kButtonEntryCount = 7;
constexpr int kWheelEntryCount = 2;
// A combination text longer than this is cut to 9 characters and "...".
constexpr int kComboTextMaxShown = 12;

// The English caption of item `id` (1-6) of the wheel menu; nullptr otherwise.
const char* WheelMenuCaption(int id);

// The translated caption of the button menu's item `id`, the macro items
// ("Macro Manager" 1101, "Macro<name>" 1102 + k) included; empty for an
// identifier that names no item.
QString ButtonMenuItemText(const TMOUSEPROFILEINFO& profile, int id);

// "<" + key name + ">" when button `index` holds a single key; else empty.
QString SingleKeyText(const TMOUSEPROFILEINFO& profile, int index);
// "Ctrl+A", or "<Ctrl+A+B>" with a second key, when button `index` holds a
// combination (Combo Key); else empty.
QString ComboKeyText(const TMOUSEPROFILEINFO& profile, int index);

// The identifier an entry shows: MenuID, or the menu ID of FunctionIndex
// when MenuID is 0.
int ShownMenuId(const TBUTTONFUNCINFO& element);

// SetButtonText: "index+1." and the label of `id` for button entry `index`
// (0-6), with the key texts of Single Key and Combo Key.
QString ButtonEntryText(const TMOUSEPROFILEINFO& profile, int index, int id);
// SetWheelButtonText: "index+8." and the wheel menu's caption of `id`.
QString WheelEntryText(int index, int id);

// The texts as RefreshButtonTexts sets them from the profile.
QString ButtonEntryText(const TMOUSEPROFILEINFO& profile, int index);
QString WheelEntryText(const TMOUSEPROFILEINFO& profile, int index);

// UpdateButtonHint: "Single Key: <A>" / "Combo Key: <Ctrl+A+B>" (never cut),
// empty for any other function.
QString ButtonEntryHint(const TMOUSEPROFILEINFO& profile, int index);

} // namespace k4812
