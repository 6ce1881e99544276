#include "i18n/TranslationList.h"

#include "i18n/LanguageFile.h"

namespace k4812 {

TranslationList::TranslationList(QStringList lines) : m_lines(std::move(lines))
{
    sortBlockLines(m_lines);
    for (const QString& line : std::as_const(m_lines)) {
        const qsizetype separator = line.indexOf(QLatin1Char('='));
        if (separator < 0)
            continue; // a line without "=" translates nothing
        const QString source = line.left(separator);
        const QString translation = line.mid(separator + 1);
        // Only the first line of a text counts, even when its translation is empty.
        if (!m_bySource.contains(source))
            m_bySource.insert(source, translation);
        if (!m_byTranslation.contains(translation))
            m_byTranslation.insert(translation, source);
    }
}

QString TranslationList::translate(const QString& text) const
{
    const auto it = m_bySource.constFind(text);
    if (it == m_bySource.constEnd() || it->isEmpty())
        return text;
    return *it;
}

QString TranslationList::revert(const QString& text) const
{
    const auto it = m_byTranslation.constFind(text);
    return it == m_byTranslation.constEnd() ? text : *it;
}

} // namespace k4812
