#include "ui/controls/BusyIndicator.h"

#include "ui/controls/SkinAccessibility.h"
#include "ui/skin/Theme.h"

#include <QAccessible>
#include <QPainter>
#include <QtMath>

namespace k4812 {

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent)
{
    installSkinAccessibility();
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, &BusyIndicator::advanceFrame);
    hide();
}

void BusyIndicator::start()
{
    if (m_running)
        return;
    m_running = true;
    m_frame = 0;
    show();
    raise();
    m_timer.start();
    QAccessible::State busy;
    busy.busy = true;
    QAccessibleStateChangeEvent event(this, busy);
    QAccessible::updateAccessibility(&event);
    emit runningChanged(true);
}

void BusyIndicator::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_timer.stop();
    hide();
    QAccessible::State busy;
    busy.busy = true;
    QAccessibleStateChangeEvent event(this, busy);
    QAccessible::updateAccessibility(&event);
    emit runningChanged(false);
}

void BusyIndicator::advanceFrame()
{
    m_frame = (m_frame + 1) % kFrames;
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const qreal radius = qMin(width(), height()) / 2.0;
    const qreal dot = qMax(1.5, radius * 0.16);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kFrames; ++i) {
        // The dot of the current frame is the brightest; the trail fades behind it.
        const int age = (m_frame - i + kFrames) % kFrames;
        QColor colour = theme::accent();
        colour.setAlphaF(qMax(0.12, 1.0 - age / qreal(kFrames) * 1.4));
        painter.setBrush(colour);
        const qreal angle = 2 * M_PI * i / kFrames - M_PI / 2;
        const QPointF at(centre.x() + (radius - dot - 1) * qCos(angle), centre.y() + (radius - dot - 1) * qSin(angle));
        painter.drawEllipse(at, dot, dot);
    }
}

} // namespace k4812
