#include "i18n/LanguageFile.h"

#include <algorithm>

namespace k4812 {

namespace {

bool isBreak(char16_t unit)
{
    switch (unit) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u2028':
    case u'\u2029':
        return true;
    default:
        return false;
    }
}

} // namespace

QStringList splitBlockLines(QStringView block)
{
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    const qsizetype size = block.size();
    for (; i < size; ++i) {
        const char16_t unit = block[i].unicode();
        if (unit == 0)
            break;
        if (!isBreak(unit))
            continue;
        lines.append(block.mid(start, i - start).toString());
        if (unit == u'\r' && i + 1 < size && block[i + 1].unicode() == u'\n')
            ++i;
        start = i + 1;
    }
    if (i > start)
        lines.append(block.mid(start, i - start).toString());
    return lines;
}

bool containsLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() == 0 || isBreak(c.unicode()); });
}

void sortBlockLines(QStringList& lines)
{
    // QString's operator< compares UTF-16 code units, independent of the locale.
    std::sort(lines.begin(), lines.end());
}

} // namespace k4812
