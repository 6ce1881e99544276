#include "i18n/LanguageNames.h"

#include "i18n/WindowsLanguageId.h"

#include <QLocale>

namespace k4812 {

namespace {

bool isKnown(const QString& langId)
{
    return knownWindowsLanguageIds().contains(langId, Qt::CaseInsensitive);
}

} // namespace

QString nativeLanguageNameOf(const QString& langId)
{
    if (!isKnown(langId))
        return QString();
    return localeOfWindowsLanguageId(langId).nativeLanguageName();
}

QString languageLongNameOf(const QString& langId)
{
    if (!isKnown(langId))
        return QString();
    const QLocale locale = localeOfWindowsLanguageId(langId);
    const QLocale user = localeOfWindowsLanguageId(systemWindowsLanguageId());
    // Qt carries language names in English and in each language itself only.
    if (user.language() == locale.language())
        return QStringLiteral("%1 (%2)").arg(locale.nativeLanguageName(), locale.nativeTerritoryName());
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                         QLocale::territoryToString(locale.territory()));
}

} // namespace k4812
