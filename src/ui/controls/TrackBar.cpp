#include "ui/controls/TrackBar.h"

#include "ui/controls/SkinAccessibility.h"
#include "ui/skin/Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace k4812 {
namespace {

constexpr int kThumbRadius = 7;
constexpr int kTrackMargin = kThumbRadius + 3;

} // namespace

TrackBar::TrackBar(QWidget* parent) : QAbstractSlider(parent)
{
    installSkinAccessibility();
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setTracking(true);
    updatePageStep();
}

int TrackBar::roundedValue(int value) const
{
    const int stepSize = qMax(1, singleStep());
    const long long rounded = std::llround(double(value) / stepSize) * (long long)stepSize;
    return int(std::clamp<long long>(rounded, minimum(), maximum()));
}

void TrackBar::setStep(int step)
{
    setSingleStep(qMax(1, step));
    updatePageStep();
    setValue(value());
}

void TrackBar::setValue(int value)
{
    QAbstractSlider::setValue(roundedValue(value));
}

void TrackBar::setRange(int minimum, int maximum)
{
    QAbstractSlider::setRange(minimum, maximum);
    updatePageStep();
    setValue(value());
}

void TrackBar::updatePageStep()
{
    const int stepSize = qMax(1, singleStep());
    const long long span = (long long)maximum() - minimum();
    const long long steps = qMax<long long>(1, span / 10 / stepSize);
    setPageStep(int(qMin<long long>(steps * stepSize, std::numeric_limits<int>::max())));
}

void TrackBar::sliderChange(SliderChange change)
{
    QAbstractSlider::sliderChange(change);
    update();
}

void TrackBar::setBackground(const SkinImage& image)
{
    m_background = image;
    if (!image.isNull() && !testAttribute(Qt::WA_Resized))
        resize(image.size());
    updateGeometry();
    update();
}

QSize TrackBar::sizeHint() const
{
    return m_background.isNull() ? QSize(200, 24) : m_background.size();
}

QRect TrackBar::trackRect() const
{
    return QRect(kTrackMargin, height() / 2 - 2, qMax(1, width() - 2 * kTrackMargin), 4);
}

int TrackBar::positionOf(int value) const
{
    const QRect track = trackRect();
    const long long span = (long long)maximum() - minimum();
    if (span <= 0)
        return track.left();
    return track.left() + int(((long long)value - minimum()) * (track.width() - 1) / span);
}

int TrackBar::valueAt(int x) const
{
    const QRect track = trackRect();
    const double fraction = qBound(0.0, double(x - track.left()) / qMax(1, track.width() - 1), 1.0);
    return roundedValue(int(std::lround(minimum() + fraction * ((long long)maximum() - minimum()))));
}

void TrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_background.isNull())
        m_background.draw(painter, rect());
    const QRect track = trackRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::controlEdge());
    painter.drawRoundedRect(track, 2, 2);
    const int thumbX = positionOf(value());
    painter.setBrush(isEnabled() ? theme::accent() : theme::textDisabled());
    painter.drawRoundedRect(QRect(track.left(), track.top(), thumbX - track.left() + 1, track.height()), 2, 2);
    const QPointF centre(thumbX + 0.5, height() / 2.0);
    if (hasFocus()) {
        painter.setBrush(QColor(theme::accent().red(), theme::accent().green(), theme::accent().blue(), 70));
        painter.drawEllipse(centre, kThumbRadius + 3, kThumbRadius + 3);
    }
    painter.setPen(QPen(isEnabled() ? theme::accent() : theme::textDisabled(), 2));
    painter.setBrush(underMouse() || isSliderDown() ? theme::controlHot() : theme::controlBack());
    painter.drawEllipse(centre, kThumbRadius, kThumbRadius);
}

void TrackBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = true;
    setSliderDown(true);
    setValue(valueAt(event->position().toPoint().x()));
    event->accept();
}

void TrackBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        event->ignore();
        return;
    }
    setValue(valueAt(event->position().toPoint().x()));
    event->accept();
}

void TrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = false;
    setSliderDown(false);
    event->accept();
}

void TrackBar::keyPressEvent(QKeyEvent* event)
{
    const long long current = value();
    long long target = current;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: target = current - singleStep(); break;
    case Qt::Key_Right:
    case Qt::Key_Up: target = current + singleStep(); break;
    case Qt::Key_PageDown: target = current - pageStep(); break;
    case Qt::Key_PageUp: target = current + pageStep(); break;
    case Qt::Key_Home: target = minimum(); break;
    case Qt::Key_End: target = maximum(); break;
    default: QAbstractSlider::keyPressEvent(event); return;
    }
    setValue(int(std::clamp<long long>(target, minimum(), maximum())));
    event->accept();
}

void TrackBar::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const int steps = m_wheel.add(delta.y() != 0 ? delta.y() : delta.x());
    if (steps != 0) {
        const long long target = (long long)value() + (long long)steps * singleStep();
        setValue(int(std::clamp<long long>(target, minimum(), maximum())));
    }
    event->accept();
}

} // namespace k4812
