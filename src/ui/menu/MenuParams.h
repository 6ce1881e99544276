#pragma once
// How a menu's lists look: item height, fills, font and margins.

#include <QColor>
#include <QFont>
#include <QMargins>

namespace k4812 {

struct TMenuParams {
    QColor BGFill{0x1e, 0x21, 0x26};
    QColor ItemOverFill{0x34, 0x3a, 0x43};
    QColor ItemDownFill{0x45, 0x4c, 0x57};
    // The check mark of the selected item, and (faint) its fill.
    QColor ItemCheckFill{0xfb, 0xd9, 0x1e};
    QColor ItemExtenderFill{0xc8, 0xcc, 0xd2};
    QColor ItemFontFill{Qt::white};
    QFont ItemFont;
    QMargins BGMargins{4, 4, 4, 4};
    int ItemHeight = 30;
    bool MenuShowSelectedState = true;
    bool MenuShowSelectedCheckMark = true;
    int CustomHeight = 0; // 0 = automatic
    int CustomWidth = 0;  // 0 = automatic
};

} // namespace k4812
