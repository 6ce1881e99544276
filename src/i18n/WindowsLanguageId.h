#pragma once
// Windows language identifiers ("0409", "0804", "0404", ...) and the locales
// they stand for. The profile format and the language file name languages
// this way, so the user's Linux locale is mapped onto them.

#include <QLocale>
#include <QString>
#include <QStringList>

namespace k4812 {

// The identifier of a locale as four upper-case hexadecimal digits; "0409"
// (English, United States) for a locale the table does not know.
QString windowsLanguageIdOf(const QLocale& locale);

// The locale of an identifier such as "0804" (any letter case); the C
// locale when the identifier is unknown.
QLocale localeOfWindowsLanguageId(const QString& id);

// Every identifier the table knows, in table order.
QStringList knownWindowsLanguageIds();

// The identifier of the user's interface language, from LC_ALL, then
// LC_MESSAGES, then LANG (as gettext chooses a message language), else the
// system locale.
QString systemWindowsLanguageId();

} // namespace k4812
