#pragma once
// One skin image as the controls paint it: the 1x image and, when the skin
// has one, its "@2x" variant for high-density screens. The controls pick the
// variant for the device pixel ratio of the widget they paint on, so a window
// on a 2x screen stays sharp while one on a 1x screen is not scaled down.

#include <QImage>
#include <QPixmap>

class QPainter;
#include <QSize>

namespace k4812 {

class SkinImage {
public:
    SkinImage() = default;
    explicit SkinImage(QImage normal, QImage highDensity = {});

    // An empty (0 x 0) image stands for "no image".
    bool isNull() const { return m_normal.isNull(); }
    // The size in device-independent pixels (that of the 1x image).
    QSize size() const { return m_normal.size(); }
    int width() const { return m_normal.width(); }
    int height() const { return m_normal.height(); }

    const QImage& normal() const { return m_normal; }
    const QImage& highDensity() const { return m_highDensity; }

    // The variant to draw at `devicePixelRatio`, with its ratio set so that
    // it covers size() logical pixels: the @2x image above a ratio of 1
    // when there is one, else the 1x image.
    QPixmap pixmapFor(qreal devicePixelRatio) const;
    // Whether the pixel at the logical point is not fully transparent
    // (for faces that are not rectangular).
    bool isOpaqueAt(QPoint logicalPoint) const;

    bool operator==(const SkinImage& other) const;

private:
    QImage m_normal;
    QImage m_highDensity;
};

// The pixel ratio of what a painter really paints on: the screen's backing
// store in a window, the target image when a widget is rendered into one.
qreal paintPixelRatio(QPainter& painter);

} // namespace k4812
