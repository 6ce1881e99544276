#include "ui/skin/SkinImage.h"

#include <QPaintEngine>
#include <QPainter>

namespace k4812 {

SkinImage::SkinImage(QImage normal, QImage highDensity) : m_normal(std::move(normal)), m_highDensity(std::move(highDensity))
{
    m_normal.setDevicePixelRatio(1.0);
    if (!m_highDensity.isNull() && !m_normal.isNull())
        m_highDensity.setDevicePixelRatio(qreal(m_highDensity.width()) / m_normal.width());
}

QPixmap SkinImage::pixmapFor(qreal devicePixelRatio) const
{
    if (devicePixelRatio > 1.0 && !m_highDensity.isNull())
        return QPixmap::fromImage(m_highDensity);
    return QPixmap::fromImage(m_normal);
}

bool SkinImage::isOpaqueAt(QPoint logicalPoint) const
{
    if (!m_normal.valid(logicalPoint))
        return false;
    return !m_normal.hasAlphaChannel() || qAlpha(m_normal.pixel(logicalPoint)) > 0;
}

bool SkinImage::operator==(const SkinImage& other) const
{
    return m_normal == other.m_normal && m_highDensity == other.m_highDensity;
}

qreal paintPixelRatio(QPainter& painter)
{
    if (QPaintEngine* engine = painter.paintEngine(); engine && engine->paintDevice())
        return engine->paintDevice()->devicePixelRatioF();
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

} // namespace k4812
