#include "ui/menu/MenuRow.h"

#include <QPainter>
#include <QPainterPath>

namespace k4812 {

namespace {

constexpr int kTextLeft = 32;
constexpr int kArrowRight = 14;

} // namespace

MenuRow::MenuRow(const TMenuParams& params, QWidget* parent) : QWidget(parent), m_params(params)
{
    // The popup decides what the mouse does.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(params.ItemFont);
}

void MenuRow::setText(const QString& text)
{
    m_text = text;
    setAccessibleName(text);
    update();
}

void MenuRow::setIsExtender(bool value)
{
    m_isExtender = value;
    update();
}

void MenuRow::setIsChecked(bool value)
{
    m_isChecked = value;
    update();
}

void MenuRow::setIsSelected(bool value)
{
    m_isSelected = value;
    update();
}

void MenuRow::setHovered(bool value)
{
    m_hovered = value;
    update();
}

void MenuRow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    if (m_hovered)
        p.fillRect(r, m_params.ItemOverFill);
    if (m_isSelected && m_params.MenuShowSelectedState) {
        QColor faint = m_params.ItemCheckFill;
        faint.setAlpha(m_hovered ? 80 : 56);
        p.fillRect(r, faint);
    }

    if (m_isChecked || (m_isSelected && m_params.MenuShowSelectedCheckMark)) {
        const qreal mid = r.height() / 2;
        QPainterPath tick;
        tick.moveTo(10, mid);
        tick.lineTo(15, mid + 5);
        tick.lineTo(24, mid - 6);
        p.setPen(QPen(m_params.ItemCheckFill, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
    }

    p.setPen(m_params.ItemFontFill);
    const int arrowRoom = m_isExtender ? kArrowRight + 10 : 8;
    const QRectF textRect(kTextLeft, 0, r.width() - kTextLeft - arrowRoom, r.height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(m_text, Qt::ElideRight, int(textRect.width())));

    if (m_isExtender) {
        const qreal x = r.width() - kArrowRight;
        const qreal mid = r.height() / 2;
        QPainterPath arrow;
        arrow.moveTo(x - 4, mid - 5);
        arrow.lineTo(x + 2, mid);
        arrow.lineTo(x - 4, mid + 5);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.fillPath(arrow, m_params.ItemExtenderFill);
    }
}

} // namespace k4812
