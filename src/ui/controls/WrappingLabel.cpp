#include "ui/controls/WrappingLabel.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace k4812 {

WrappingLabel::WrappingLabel(QWidget* parent) : SkinLabel(parent)
{
    setWordWrap(true);
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

qreal WrappingLabel::layOut(QTextLayout& layout, int width) const
{
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font());
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax(1, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

int WrappingLabel::heightForWidth(int width) const
{
    if (text().isEmpty())
        return 0;
    QTextLayout layout(text());
    return int(std::ceil(layOut(layout, width)));
}

QSize WrappingLabel::sizeHint() const
{
    return QSize(width(), heightForWidth(width()));
}

QSize WrappingLabel::minimumSizeHint() const
{
    return QSize(0, heightForWidth(width()));
}

void WrappingLabel::paintEvent(QPaintEvent*)
{
    if (text().isEmpty())
        return;
    QTextLayout layout(text());
    const qreal height = layOut(layout, width());
    qreal top = 0;
    if (alignment() & Qt::AlignVCenter)
        top = (this->height() - height) / 2;
    else if (alignment() & Qt::AlignBottom)
        top = this->height() - height;
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    layout.draw(&painter, QPointF(0, top));
}

} // namespace k4812
