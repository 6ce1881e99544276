#include "ui/controls/ImageView.h"

#include "ui/controls/SkinAccessibility.h"

#include <QMouseEvent>
#include <QPainter>

namespace k4812 {

ImageView::ImageView(QWidget* parent)
    : QWidget(parent), m_turnForth(new QVariantAnimation(&m_rotation)), m_turnBack(new QVariantAnimation(&m_rotation))
{
    installSkinAccessibility();
    setAttribute(Qt::WA_TranslucentBackground);
    m_turnForth->setStartValue(0.0);
    m_turnForth->setEndValue(360.0);
    m_turnForth->setEasingCurve(QEasingCurve::InOutBounce);
    m_turnBack->setStartValue(360.0);
    m_turnBack->setEndValue(0.0);
    m_turnBack->setEasingCurve(QEasingCurve::InOutBounce);
    m_rotation.addAnimation(m_turnForth);
    m_rotation.addAnimation(m_turnBack);
    setTurnDuration(kDefaultTurnMs);
    for (QVariantAnimation* turn : {m_turnForth, m_turnBack}) {
        connect(turn, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            m_angle = value.toReal();
            update();
        });
    }
}

void ImageView::setImage(const SkinImage& image)
{
    m_image = image;
    if (!image.isNull() && !testAttribute(Qt::WA_Resized))
        resize(image.size());
    updateGeometry();
    update();
}

void ImageView::setTurnDuration(int milliseconds)
{
    m_turnForth->setDuration(qMax(0, milliseconds));
    m_turnBack->setDuration(qMax(0, milliseconds));
}

void ImageView::startRotation()
{
    if (isRotating())
        return;
    m_rotation.start();
}

QSize ImageView::sizeHint() const
{
    return m_image.isNull() ? QSize(32, 32) : m_image.size();
}

void ImageView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_angle != 0) {
        const QPointF centre = QRectF(rect()).center();
        painter.translate(centre);
        painter.rotate(m_angle);
        painter.translate(-centre);
    }
    m_image.draw(painter, rect());
}

void ImageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace k4812
