#include "ui/menu/MenuPlacement.h"

#include <algorithm>

namespace k4812 {

QPoint menuPopupPosition(const MenuPlacementInput& in)
{
    const QRect beside = in.placementRectangle ? in.placementRectangle->translated(in.target.topLeft()) : in.target;
    QPoint at(beside.x() + beside.width(), beside.y());
    if (in.placement == TPlacement::vgPlacementRightCenter)
        at.setY(beside.y() + (beside.height() - in.popup.height()) / 2);

    const int screenRight = in.screen.x() + in.screen.width();
    if (in.target.x() + in.target.width() + in.popup.width() >= screenRight) {
        if (in.placementRectangle)
            at += QPoint(-in.target.width(), 20);
        else
            at.setX(in.targetWindow.x() - in.popup.width());
    }

    // On the screen: never past its bottom or right, and never above or left of it.
    at.setX(std::max(std::min(at.x(), screenRight - in.popup.width()), in.screen.x()));
    at.setY(std::max(std::min(at.y(), in.screen.y() + in.screen.height() - in.popup.height()), in.screen.y()));
    return at;
}

QSize menuPopupSize(const MenuSizeInput& in)
{
    int height = in.itemCount * in.itemHeight + in.marginTop + in.marginBottom;
    if (in.screenHeight > 0)
        height = std::min(height, in.screenHeight);
    if (in.customHeight > 0)
        height = in.customHeight;
    const int width =
        in.customWidth > 0 ? in.customWidth : in.longestTextWidth + 100 + in.marginLeft + in.marginRight;
    return {width, height};
}

} // namespace k4812
