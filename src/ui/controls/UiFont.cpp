#include "ui/controls/UiFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace k4812 {

QFont uiFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QString::fromLatin1(kWindowsUiFont), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(),
                      QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace k4812
