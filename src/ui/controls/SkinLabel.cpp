#include "ui/controls/SkinLabel.h"

#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

namespace k4812 {

SkinLabel::SkinLabel(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFont(uiFont(9));
    setTextColor(theme::text());
}

void SkinLabel::setFontSize(qreal pointSize, bool bold)
{
    setFont(uiFont(pointSize, bold));
}

void SkinLabel::setTextColor(const QColor& color)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    setPalette(palette);
}

} // namespace k4812
