#pragma once
// The font of every shown text: the Windows font the windows were laid out
// for when the system has it, else the desktop's own sans-serif, which also
// covers the Chinese texts when a CJK font is installed.

#include <QFont>

namespace k4812 {

inline constexpr const char* kWindowsUiFont = "Tahoma";

QFont uiFont(qreal pointSize, bool bold = false);

// Makes uiFont(9), the windows' font, the application's font. Qt lays out
// some texts in the application's font before a widget's own font reaches
// them (every line edit, so every number box, at construction); with the
// desktop's font left as the application's, a window loads and lays out in a
// font it never shows. Call once after the application is created.
void useUiFontForApplication();

} // namespace k4812
