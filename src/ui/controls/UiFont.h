#pragma once
// The font of every shown text: the Windows font the windows were laid out
// for when the system has it, else the desktop's own sans-serif, which also
// covers the Chinese texts when a CJK font is installed.

#include <QFont>

namespace k4812 {

inline constexpr const char* kWindowsUiFont = "Tahoma";

QFont uiFont(qreal pointSize, bool bold = false);

} // namespace k4812
