#include "ui/controls/SkinButton.h"

#include "ui/controls/SkinAccessibility.h"
#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace k4812 {

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent), m_textColor(theme::text())
{
    installSkinAccessibility();
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    setFont(uiFont(9));
}

void SkinButton::setFaces(const SkinImage& normal, const SkinImage& hot, const SkinImage& pressed,
                          const SkinImage& disabled)
{
    m_faces = {normal, hot, pressed, disabled};
    if (!normal.isNull() && !testAttribute(Qt::WA_Resized))
        resize(normal.size());
    updateGeometry();
    update();
}

void SkinButton::setFace(ButtonFace face, const SkinImage& image)
{
    m_faces[std::size_t(face)] = image;
    update();
}

ButtonFaceState SkinButton::faceState() const
{
    return {isEnabled(), isDown(), isChecked(), underMouse(), hasFocus()};
}

unsigned SkinButton::presentFaces() const
{
    unsigned present = 0;
    for (std::size_t i = 0; i < m_faces.size(); ++i) {
        if (!m_faces[i].isNull())
            present |= faceBit(ButtonFace(i));
    }
    return present;
}

ButtonFace SkinButton::currentFace() const
{
    return availableFace(selectFace(faceState()), presentFaces());
}

void SkinButton::setTextColor(const QColor& color)
{
    m_textColor = color;
    update();
}

void SkinButton::setTextAlignment(Qt::Alignment alignment)
{
    m_textAlignment = alignment;
    update();
}

QSize SkinButton::sizeHint() const
{
    if (!m_faces[0].isNull())
        return m_faces[0].size();
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()) + 24, metrics.height() + 12);
}

void SkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    const ButtonFace wanted = selectFace(faceState());
    const ButtonFace shown = availableFace(wanted, presentFaces());
    const SkinImage& image = m_faces[std::size_t(shown)];
    if (!isEnabled() && wanted != shown)
        painter.setOpacity(0.45); // no disabled face in the skin: dim the normal one
    if (!image.isNull()) {
        image.draw(painter, rect());
    } else {
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QColor fill = theme::controlBack();
        if (shown == ButtonFace::Hot)
            fill = theme::controlHot();
        else if (shown == ButtonFace::Pressed)
            fill = theme::controlPressed();
        painter.setPen(shown == ButtonFace::Pressed ? theme::accent() : theme::controlEdge());
        painter.setBrush(fill);
        painter.drawRoundedRect(box, 4, 4);
    }
    painter.setOpacity(1.0);
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(isEnabled() ? m_textColor : theme::textDisabled());
        const QPoint shift = shown == ButtonFace::Pressed ? QPoint(0, 1) : QPoint();
        painter.drawText(rect().adjusted(4, 0, -4, 0).translated(shift), int(m_textAlignment) | Qt::TextShowMnemonic,
                         text());
    }
    if (hasFocus()) {
        // A focus ring in the accent colour, inside the face so it is never clipped.
        QPen pen(theme::accent(), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    }
}

bool SkinButton::hitButton(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return false;
    if (!m_alphaHitTest || m_faces[0].isNull())
        return true;
    const QSize size = m_faces[0].size();
    const QPoint imagePoint(pos.x() * size.width() / qMax(1, width()), pos.y() * size.height() / qMax(1, height()));
    return m_faces[0].isOpaqueAt(imagePoint);
}

void SkinButton::keyPressEvent(QKeyEvent* event)
{
    // Enter and Return press a button as Space does, without the auto-repeat.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace k4812
