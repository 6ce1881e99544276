#include "ui/controls/Glow.h"

#include "ui/skin/Theme.h"

#include <QGraphicsDropShadowEffect>
#include <QWidget>

namespace k4812 {
namespace {

constexpr qreal kGlowRadius = 14.0;

QGraphicsDropShadowEffect* glowOf(const QWidget* widget)
{
    return qobject_cast<QGraphicsDropShadowEffect*>(widget->graphicsEffect());
}

QGraphicsDropShadowEffect* ensureGlow(QWidget* widget)
{
    if (auto* glow = glowOf(widget))
        return glow;
    auto* glow = new QGraphicsDropShadowEffect(widget);
    glow->setOffset(0, 0);
    glow->setBlurRadius(kGlowRadius);
    glow->setColor(theme::accent());
    glow->setEnabled(false);
    widget->setGraphicsEffect(glow);
    return glow;
}

} // namespace

void setGlowColor(QWidget* widget, const QColor& color)
{
    ensureGlow(widget)->setColor(color);
}

void setGlowEnabled(QWidget* widget, bool on)
{
    ensureGlow(widget)->setEnabled(on);
}

bool isGlowEnabled(const QWidget* widget)
{
    const auto* glow = glowOf(widget);
    return glow && glow->isEnabled();
}

QColor glowColor(const QWidget* widget)
{
    const auto* glow = glowOf(widget);
    return glow ? glow->color() : QColor();
}

} // namespace k4812
