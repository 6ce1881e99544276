#pragma once
// One skin image as the controls paint it: the 1x image and, when the skin
// has one, its "@2x" variant for high-density screens. The controls pick the
// variant for the device pixel ratio of the widget they paint on, so a window
// on a 2x screen stays sharp while one on a 1x screen is not scaled down.
//
// A large 1x image that is mostly flat colour is held in tiles
// (TiledImage) rather than whole; draw() paints it from the tiles when it
// is drawn at its size on a 1x screen, the usual case, and makes the whole
// image only when it is scaled or turned.

#include "ui/skin/TiledImage.h"

#include <QImage>
#include <QPixmap>
#include <QSize>

#include <memory>

class QPainter;

namespace k4812 {

class SkinImage {
public:
    SkinImage() = default;
    explicit SkinImage(QImage normal, QImage highDensity = {});
    // An image already in tiles (may be null for "no image").
    explicit SkinImage(std::shared_ptr<const TiledImage> tiled, QImage highDensity = {});

    // An empty (0 x 0) image stands for "no image".
    bool isNull() const { return m_size.isEmpty(); }
    // The size in device-independent pixels (that of the 1x image).
    QSize size() const { return m_size; }
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }

    // The 1x image (made from the tiles when it is held in tiles).
    QImage normal() const;
    const QImage& highDensity() const { return m_highDensity; }
    // Whether the 1x image is held in tiles.
    bool isTiled() const { return m_tiled != nullptr; }

    // The variant to draw at `devicePixelRatio`, with its ratio set so that
    // it covers size() logical pixels: the @2x image above a ratio of 1
    // when there is one, else the 1x image.
    QPixmap pixmapFor(qreal devicePixelRatio) const;
    // Paints the image into `target` (logical coordinates) as drawing
    // pixmapFor()'s pixmap there would; only what meets `exposed` when given.
    void draw(QPainter& painter, const QRect& target, const QRect& exposed = {}) const;
    // Whether the pixel at the logical point is not fully transparent
    // (for faces that are not rectangular).
    bool isOpaqueAt(QPoint logicalPoint) const;

    bool operator==(const SkinImage& other) const;

private:
    // Sets the size and gives the 2x image its ratio against it.
    void setSize(QSize size);

    // The pixmaps made from the images on first use, shared by every copy of
    // this image, so a repaint does not convert the image again.
    struct Pixmaps {
        QPixmap normal;
        QPixmap highDensity;
    };

    QSize m_size{0, 0};
    QImage m_normal; // null when held in tiles
    std::shared_ptr<const TiledImage> m_tiled;
    QImage m_highDensity;
    std::shared_ptr<Pixmaps> m_pixmaps = std::make_shared<Pixmaps>();
};

// The pixel ratio of what a painter really paints on: the screen's backing
// store in a window, the target image when a widget is rendered into one.
qreal paintPixelRatio(QPainter& painter);

} // namespace k4812
