#include "ui/menu/MenuKeyboard.h"

#include <Qt>

#include <algorithm>

namespace k4812 {

int keyboardSelection(const QStringList& texts, int current, int key, const QString& text)
{
    const int count = int(texts.size());
    if (count == 0)
        return -1;
    const int last = count - 1;
    switch (key) {
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return last;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return std::clamp(current - 1, 0, last);
    case Qt::Key_Right:
    case Qt::Key_Down:
        return std::clamp(current + 1, 0, last);
    default:
        break;
    }
    if (text.size() == 1 && text.at(0).isPrint()) {
        for (int i = 0; i < count; ++i) {
            if (texts[i].startsWith(text, Qt::CaseInsensitive))
                return i;
        }
    }
    return current;
}

} // namespace k4812
