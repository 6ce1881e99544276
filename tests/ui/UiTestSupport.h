#pragma once
// Small helpers of the window tests: solid skin images whose colour shows
// which face was painted, and rendering a widget at a chosen pixel ratio.

#include "ui/skin/SkinImage.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace k4812::test {

inline QImage solidImage(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// A skin image of one colour, with a 2x variant of another when given.
inline SkinImage solidSkin(QSize size, QColor colour, QColor highDensity = QColor())
{
    return SkinImage(solidImage(size, colour),
                     highDensity.isValid() ? solidImage(size * 2, highDensity) : QImage());
}

// Renders the widget into an image of its size times `ratio`.
inline QImage renderAt(QWidget& widget, qreal ratio)
{
    QImage image(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline QColor pixelAt(const QImage& image, QPoint logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(int(logical.x() * ratio), int(logical.y() * ratio));
}

} // namespace k4812::test
