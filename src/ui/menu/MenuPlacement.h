#pragma once
// Where a menu popup opens, and how large it is: pure rules over screen
// rectangles, so that they are checked without a screen.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace k4812 {

enum class TPlacement {
    vgPlacementRight,       // to the right of the target, top edges aligned
    vgPlacementRightCenter, // to the right of the target, centred vertically on it
};

struct MenuPlacementInput {
    QRect target;       // the control (or, for a sub-menu, the item) the popup opens beside
    QRect targetWindow; // the window holding the target; for a sub-menu, the parent popup
    QSize popup;
    QRect screen;       // the target's screen
    TPlacement placement = TPlacement::vgPlacementRightCenter;
    // A rectangle in the target's coordinates to open beside instead of the target.
    std::optional<QRect> placementRectangle;
};

// The popup's top-left corner. It opens beside the target as `placement`
// says. When the target's left edge + its width + the popup's width reaches
// the screen's right edge, it opens to the left instead: its right edge at
// the left edge of the target's window, or, with a placement rectangle, moved
// left by the target's width and 20 pixels down. The popup is then kept on
// the screen (a popup taller than the screen starts at its top).
QPoint menuPopupPosition(const MenuPlacementInput& in);

struct MenuSizeInput {
    int itemCount = 0;
    int itemHeight = 30;
    int longestTextWidth = 0;
    int marginLeft = 4, marginTop = 4, marginRight = 4, marginBottom = 4;
    int screenHeight = 0;
    int customWidth = 0;  // 0 = automatic
    int customHeight = 0; // 0 = automatic
};

// The popup of a list: the items' heights and the margins, never taller than
// the screen; the longest text + 100 (room for the check mark and the
// sub-menu arrow) + the margins wide. A custom width or height wins.
QSize menuPopupSize(const MenuSizeInput& in);

} // namespace k4812
