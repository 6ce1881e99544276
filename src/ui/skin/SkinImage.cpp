#include "ui/skin/SkinImage.h"

#include <QPaintEngine>
#include <QPainter>

namespace k4812 {

SkinImage::SkinImage(QImage normal, QImage highDensity)
    : m_normal(std::move(normal)), m_highDensity(std::move(highDensity))
{
    m_normal.setDevicePixelRatio(1.0);
    setSize(m_normal.size());
}

SkinImage::SkinImage(std::shared_ptr<const TiledImage> tiled, QImage highDensity)
    : m_tiled(tiled && !tiled->isNull() ? std::move(tiled) : nullptr), m_highDensity(std::move(highDensity))
{
    setSize(m_tiled ? m_tiled->size() : QSize(0, 0));
}

void SkinImage::setSize(QSize size)
{
    m_size = size;
    if (!m_highDensity.isNull() && !m_size.isEmpty())
        m_highDensity.setDevicePixelRatio(qreal(m_highDensity.width()) / m_size.width());
}

QImage SkinImage::normal() const
{
    return m_tiled ? m_tiled->toImage() : m_normal;
}

QPixmap SkinImage::pixmapFor(qreal devicePixelRatio) const
{
    if (devicePixelRatio > 1.0 && !m_highDensity.isNull()) {
        if (m_pixmaps->highDensity.isNull())
            m_pixmaps->highDensity = QPixmap::fromImage(m_highDensity);
        return m_pixmaps->highDensity;
    }
    // A tiled image needs its whole pixmap only where it is scaled or turned.
    if (m_pixmaps->normal.isNull() && !isNull())
        m_pixmaps->normal = QPixmap::fromImage(normal());
    return m_pixmaps->normal;
}

void SkinImage::draw(QPainter& painter, const QRect& target, const QRect& exposed) const
{
    if (isNull())
        return;
    const qreal ratio = paintPixelRatio(painter);
    const bool useHighDensity = ratio > 1.0 && !m_highDensity.isNull();
    if (m_tiled && !useHighDensity && target.size() == m_size && TiledImage::drawsExactlyOn(painter)) {
        m_tiled->draw(painter, target.topLeft(), exposed.isNull() ? target : exposed);
        return;
    }
    painter.drawPixmap(target, pixmapFor(ratio));
}

bool SkinImage::isOpaqueAt(QPoint logicalPoint) const
{
    if (m_tiled)
        return qAlpha(m_tiled->pixel(logicalPoint)) > 0;
    if (!m_normal.valid(logicalPoint))
        return false;
    return !m_normal.hasAlphaChannel() || qAlpha(m_normal.pixel(logicalPoint)) > 0;
}

bool SkinImage::operator==(const SkinImage& other) const
{
    if (m_tiled != other.m_tiled) // the same pixels may be held in tiles and whole
        return normal() == other.normal() && m_highDensity == other.m_highDensity;
    return m_normal == other.m_normal && m_highDensity == other.m_highDensity;
}

qreal paintPixelRatio(QPainter& painter)
{
    if (QPaintEngine* engine = painter.paintEngine(); engine && engine->paintDevice())
        return engine->paintDevice()->devicePixelRatioF();
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

} // namespace k4812
