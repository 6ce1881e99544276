#pragma once
// The colours and fonts of the program's one dark theme, shared by the
// controls (which paint a fallback when a skin image is missing) and by the
// skin generator (which draws the skin images), so both agree.

#include <QColor>

namespace k4812::theme {

inline QColor windowBack() { return QColor(0x17, 0x19, 0x1e); }
inline QColor panelBack() { return QColor(0x22, 0x25, 0x2c); }
inline QColor panelEdge() { return QColor(0x33, 0x37, 0x40); }
inline QColor barBack() { return QColor(0x10, 0x12, 0x16); }
inline QColor controlBack() { return QColor(0x2c, 0x30, 0x39); }
inline QColor controlHot() { return QColor(0x3a, 0x3f, 0x4a); }
inline QColor controlPressed() { return QColor(0x1f, 0x22, 0x29); }
inline QColor controlEdge() { return QColor(0x4a, 0x50, 0x5c); }
inline QColor text() { return QColor(0xe8, 0xea, 0xee); }
inline QColor textDim() { return QColor(0x9a, 0xa0, 0xab); }
inline QColor textDisabled() { return QColor(0x62, 0x67, 0x70); }
// The accent: an ember orange, for what is selected, pressed or focused.
inline QColor accent() { return QColor(0xff, 0x7a, 0x1a); }
inline QColor accentDark() { return QColor(0xb8, 0x4f, 0x08); }
inline QColor warning() { return QColor(0xff, 0xc1, 0x2e); }

} // namespace k4812::theme
