#include "ui/controls/UiFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace k4812 {

QFont uiFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QString::fromLatin1(kWindowsUiFont),
                      QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void useUiFontForApplication()
{
    QGuiApplication::setFont(uiFont(9));
}

} // namespace k4812
