#include "ui/controls/CheckBox.h"

#include "ui/controls/SkinAccessibility.h"
#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QPainter>

namespace k4812 {
namespace {

constexpr int kGap = 6;

} // namespace

CheckBox::CheckBox(QWidget* parent) : QAbstractButton(parent)
{
    installSkinAccessibility();
    setCheckable(true);
    setAutoExclusive(false);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    setFont(uiFont(9));
}

void CheckBox::setBoxImages(const SkinImage& unchecked, const SkinImage& checked)
{
    m_unchecked = unchecked;
    m_checked = checked;
    updateGeometry();
    update();
}

int CheckBox::boxSize() const
{
    return m_unchecked.isNull() ? 14 : qMax(m_unchecked.width(), m_unchecked.height());
}

QSize CheckBox::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int textWidth = text().isEmpty() ? 0 : kGap + metrics.horizontalAdvance(text());
    return QSize(boxSize() + textWidth + 2, qMax(boxSize(), metrics.height()) + 2);
}

void CheckBox::paintFallbackBox(QPainter& painter, const QRectF& box) const
{
    painter.drawRoundedRect(box, 2, 2);
    if (isChecked()) {
        QPen tick(isEnabled() ? theme::accent() : theme::textDisabled(), 2);
        painter.setPen(tick);
        const QPointF a(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
        const QPointF b(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
        const QPointF c(box.left() + box.width() * 0.78, box.top() + box.height() * 0.28);
        painter.drawPolyline(QList<QPointF>{a, b, c});
    }
}

void CheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int size = boxSize();
    const QRectF box(1, (height() - size) / 2.0, size, size);
    const SkinImage& image = isChecked() ? m_checked : m_unchecked;
    if (!isEnabled())
        painter.setOpacity(0.5);
    if (!image.isNull()) {
        image.draw(painter, box.toRect());
    } else {
        painter.setPen(QPen(underMouse() || hasFocus() ? theme::accent() : theme::controlEdge(), 1));
        painter.setBrush(isDown() ? theme::controlPressed() : theme::controlBack());
        paintFallbackBox(painter, box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    painter.setOpacity(1.0);
    const QRect textRect = rect().adjusted(size + kGap + 1, 0, 0, 0);
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(isEnabled() ? theme::text() : theme::textDisabled());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(theme::accent(), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const QRect around = text().isEmpty()
                                 ? box.toRect().adjusted(-1, -1, 1, 1)
                                 : painter.boundingRect(textRect, Qt::AlignVCenter | Qt::AlignLeft, text());
        painter.drawRect(QRectF(around).adjusted(-0.5, -0.5, 0.5, 0.5));
    }
}

bool CheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

} // namespace k4812
